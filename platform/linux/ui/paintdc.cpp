// CPaintDC: a painter on the window for the duration of one paint message.
#include "platform/linux/ui/handles.h"

CPaintDC::CPaintDC(CWnd* pWnd) : m_pWnd(pWnd) {
    QWidget* widget = pWnd != nullptr ? WidgetFromHandle(pWnd->m_hWnd) : nullptr;
    if (widget != nullptr)
        m_hDC = new HDC__{new QPainter(widget)};
}

CPaintDC::~CPaintDC() {
    if (m_hDC != nullptr) {
        delete m_hDC->painter;
        delete m_hDC;
    }
}
