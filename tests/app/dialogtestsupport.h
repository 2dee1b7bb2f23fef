// What the dialog tests share: access to the main dialog's state, a reader
// for the parameter file it writes, and the locale the program runs in.
#pragma once

#include "app/vk37setdlg.h"

#include <QByteArray>
#include <QMap>
#include <QString>

class CTestDlg : public CVK37SetDlg {
public:
    using CVK37SetDlg::m_CaptureDevice;
    using CVK37SetDlg::m_hIcon;
    using CVK37SetDlg::m_nDeviceIndex;
};

// "SECTION/KEY" -> value of the INI file at path; empty when it does not exist.
QMap<QString, QString> ReadIniFile(const QString& path);

// LC_ALL for the life of the object, as if the program had been started in
// that locale; then as it was.
class CTestLocale {
public:
    explicit CTestLocale(const char* lcAll);
    ~CTestLocale();
    CTestLocale(const CTestLocale&) = delete;
    CTestLocale& operator=(const CTestLocale&) = delete;

private:
    bool m_wasSet;
    QByteArray m_previous;
};
