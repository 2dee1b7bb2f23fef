// What the dialog tests share: access to the main dialog's state, and a
// reader for the parameter file it writes.
#pragma once

#include "app/vk37setdlg.h"

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
