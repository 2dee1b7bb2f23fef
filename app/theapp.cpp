// The one application object, linked into the program only, so that tests
// can run dialogs and InitInstance with objects of their own.
#include "app/vk37set.h"

CVK37SetApp theApp;
