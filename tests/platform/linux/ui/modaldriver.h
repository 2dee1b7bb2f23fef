// Drives modal loops from inside: a dialog's DoModal blocks the test, so the
// test schedules what to do once the next modal window or popup menu shows.
#pragma once

#include "platform/framework.h"

#include <QMenu>
#include <QWidget>

#include <functional>

// Runs action with the first visible modal window other than previous, from
// inside the modal loop that shows it.
void WhenModalAppears(QWidget* previous, std::function<void(QWidget*)> action);
// Runs action with the popup menu that opens next.
void WhenPopupAppears(std::function<void(QMenu*)> action);

// How many waits above gave up. A wait that gives up closes every modal
// window, so a broken dialog fails its test instead of hanging it.
int DriverGiveUps();

// The widget behind control nID of a running dialog.
QWidget* DialogControl(const CWnd& dialog, int nID);
