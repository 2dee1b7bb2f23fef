// Message maps: the static tables that route window messages and commands to
// a class's On... handlers, searched from the most derived class up.
#pragma once

#include "platform/afx/winshapes.h"

class CCmdTarget;

// One routed message. The handler adapts the message's parameters to the
// member function's own signature, so no member pointers are cast.
struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode; // control notification, for WM_COMMAND
    UINT nID;   // first command or control id, for WM_COMMAND
    UINT nLastID;
    LRESULT (*pfnHandler)(CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam);
};

struct AFX_MSGMAP {
    const AFX_MSGMAP*(PASCAL* pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();                                           \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                            \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap() {                                       \
        typedef theClass ThisClass;                                                                \
        typedef baseClass TheBaseClass;                                                            \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
    { 0, 0, 0, 0, nullptr }                                                                        \
    }                                                                                              \
    ;                                                                                              \
    static_cast<void>(sizeof(ThisClass*));                                                         \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};  \
    return &messageMap;                                                                            \
    }

#define ON_COMMAND(id, memberFxn)                                                                  \
    {WM_COMMAND, BN_CLICKED, static_cast<UINT>(id), static_cast<UINT>(id),                         \
     [](CCmdTarget* pTarget, WPARAM, LPARAM) -> LRESULT {                                          \
         (static_cast<ThisClass*>(pTarget)->*(memberFxn))();                                       \
         return 0;                                                                                 \
     }},

#define ON_BN_CLICKED(id, memberFxn) ON_COMMAND(id, memberFxn)

#define ON_WM_SYSCOMMAND()                                                                         \
    {WM_SYSCOMMAND, 0, 0, 0, [](CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam) -> LRESULT {    \
         static_cast<ThisClass*>(pTarget)->OnSysCommand(static_cast<UINT>(wParam), lParam);        \
         return 0;                                                                                 \
     }},

#define ON_WM_PAINT()                                                                              \
    {WM_PAINT, 0, 0, 0, [](CCmdTarget* pTarget, WPARAM, LPARAM) -> LRESULT {                       \
         static_cast<ThisClass*>(pTarget)->OnPaint();                                              \
         return 0;                                                                                 \
     }},

#define ON_WM_QUERYDRAGICON()                                                                      \
    {WM_QUERYDRAGICON, 0, 0, 0, [](CCmdTarget* pTarget, WPARAM, LPARAM) -> LRESULT {               \
         return reinterpret_cast<LRESULT>(static_cast<ThisClass*>(pTarget)->OnQueryDragIcon());    \
     }},

#define ON_WM_DEVICECHANGE()                                                                       \
    {WM_DEVICECHANGE, 0, 0, 0, [](CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam) -> LRESULT {  \
         return static_cast<ThisClass*>(pTarget)->OnDeviceChange(static_cast<UINT>(wParam),        \
                                                                 static_cast<DWORD_PTR>(lParam));  \
     }},

// The root of every message map chain.
class CCmdTarget {
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // Runs the handler that the maps hold for command nID (notification
    // nCode); FALSE when no class in the chain handles it.
    virtual BOOL OnCmdMsg(UINT nID, int nCode);

    // Whether a class in the chain handles window message nMessage (not a
    // command), which tells the framework what a window wants to be sent.
    BOOL HandlesMessage(UINT nMessage) const { return FindMessageEntry(nMessage, 0, 0) != nullptr; }

protected:
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // The entry for nMessage (and, for WM_COMMAND, nCode and nID), or null.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const;
};
