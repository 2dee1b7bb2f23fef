// Opening the property frame the way the dialog's 属性 button does, and
// finding the frame's controls, for the tests that drive it.
#pragma once

#include "platform/comptr.h"
#include "platform/directshow.h"
#include "platform/framework.h"
#include "platform/linux/v4l2/syscalls.h"
#include "platform/propertypages.h"

#include <QWidget>

#include <memory>

// The filter of the first camera that the V4L2 source finds through calls;
// empty when there is none.
ComPtr<IBaseFilter> BindFirstCamera(std::shared_ptr<ISystemCalls> calls);

// Asks object for its pages and shows them in the frame over owner, captioned
// with name; the frame's status, or the page query's when that failed.
HRESULT OpenPropertyFrame(IUnknown* object, LPCOLESTR name, HWND owner = nullptr);

// The control with this id anywhere in window (the frame's own or a page's).
QWidget* FrameControl(QWidget* window, int id);

// A key pressed where the window's focus is.
void PressKey(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Alt and an access key, in the window made active. The button it presses
// is pressed after a short animation; this returns once that is over (false
// when it never ends, or the window cannot be made active).
bool PressAccessKey(QWidget* window, Qt::Key key);
