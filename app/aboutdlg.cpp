// The About box: its template holds everything; OK, Enter, Esc and the close
// button all end it.
#include "app/aboutdlg.h"

CAboutDlg::CAboutDlg() : CDialog(IDD) {}
