// The controls of a dialog template as Qt widgets on any parent: the main
// dialogs build their windows from it, the property pages their pages.
#pragma once

#include "platform/linux/resources.h"
#include "platform/linux/ui/dialogfont.h"

#include <QWidget>

#include <vector>

struct CTemplateControl {
    QWidget* widget;
    int id;
    // Whether it starts a keyboard group: the template's styles decide.
    bool startsGroup;
};

// Makes every item of tpl a child of parent, placed in pixels by units, with
// its control id, enabled state, visibility and the template's tab order
// (items without WS_TABSTOP take the focus only when clicked). Returns them
// in template order; buttons are not connected to anything yet.
std::vector<CTemplateControl> BuildTemplateControls(QWidget* parent, const CDialogUnits& units,
                                                    const DialogTemplate& tpl);
