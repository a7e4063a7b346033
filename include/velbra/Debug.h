// Debug: the debugger object as the rest of the run-time sees it. The hooks
// below are what the trap and exit roads call; they do nothing while the
// debugger is not active.
#pragma once

namespace morka {

class CDebug {
public:
    bool bActive = false;

    // Shuts the debugger down at program end.
    void Exit();
    // A trap was taken (error, exit): push a trap frame with the location.
    void OnErrorPush(char const* pszFile, int iSrcLine);
    void OnExitPush(char const* pszFile, int iSrcLine);
    // The trap being served ended.
    void Pop();
};

extern CDebug DBG;

}  // namespace morka
