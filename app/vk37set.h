// CVK37SetApp: the application object. Its InitInstance sets up COM and the
// common controls around one modal run of the main dialog.
#pragma once

#include "platform/framework.h"

class CVK37SetApp : public CWinApp {
public:
    CVK37SetApp() = default;

    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};

extern CVK37SetApp theApp;
