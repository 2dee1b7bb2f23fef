// One page of the property frame: its dialog template made into widgets,
// with a row for each property of its interface that the camera has. The
// rows the camera lacks are left out and the rest closed up.
#pragma once

#include "platform/linux/ui/propertyrow.h"
#include "platform/propertypages.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

// The controls of one row in the page's template.
struct CPageRowIds {
    LONG property;
    int name, slider, value, automatic;
};

// A page the frame knows: its class, the interface its rows use, its
// template, its 默认值 button and its rows in template order.
struct CPageClass {
    const CLSID* clsid;
    const IID* iid;
    int templateId;
    int defaultButton;
    const CPageRowIds* rows;
    size_t rowCount;
};

// The page of that class, or null when the frame does not know it.
const CPageClass* FindPageClass(REFCLSID clsid);

class CPropertyPage : public QWidget {
public:
    // onChange: a row's request changed. onClick: a push button of the page
    // was pressed, with its id.
    CPropertyPage(const CPageClass& pageClass, const CPropertyAccess& access,
                  std::function<void(CPropertyRow*)> onChange, std::function<void(int)> onClick);

    // Reads every row; S_OK when at least one can be shown. A camera that
    // left fails it at once; otherwise the last row's failure is returned.
    HRESULT Load();

    QString Title() const { return m_title; }
    // The rows shown, top to bottom.
    const std::vector<CPropertyRow*>& Rows() const { return m_shown; }
    // The controls that take the focus with Tab, in the template's order.
    const std::vector<QWidget*>& TabStops() const { return m_tabStops; }
    QWidget* FirstTabStop() const;

    // Asks every row for the camera's default; stops at a camera that left.
    HRESULT WantDefaults();

private:
    QString m_title;
    std::vector<std::unique_ptr<CPropertyRow>> m_rows;
    std::vector<CPropertyRow*> m_shown;
    std::vector<QWidget*> m_tabStops;
};
