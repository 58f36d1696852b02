/*
 * reenter.dll: a test extension whose goodbye calls back into Trovik. Told
 * "onclose" because the window closes, it sets DisableVP=1 in Trovik.ini and
 * calls "loadoptions", which stops the extensions a second time while the
 * first stop is still under way. It holds a reference to itself besides
 * Trovik's, so only a host that frees it twice unloads it before the process
 * ends. reenter.log beside it gets a line per "onclose" and one for such an
 * early unload.
 */
#include <stdio.h>
#include <string.h>
#include <windows.h>

#include "trovik.h"

static TrovikGetFunction getfunction;
static TrovikGetVar getvar;
static char logPath[MAX_PATH];

/* Plain kernel32 calls: this also runs inside DllMain. */
static void note(const char* text) {
  HANDLE f = CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  DWORD written;
  if (f == INVALID_HANDLE_VALUE) return;
  WriteFile(f, text, (DWORD)strlen(text), &written, NULL);
  WriteFile(f, "\n", 1, &written, NULL);
  CloseHandle(f);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  /* A null reserved means FreeLibrary, not the end of the process. */
  if (reason == DLL_PROCESS_DETACH && !reserved && logPath[0]) note("unloaded while Trovik runs");
  return TRUE;
}

TROVIK_EXPORT void TROVIK_CALL dllinfo2(TrovikGetFunction getfunction_, TrovikGetVar getvar_,
                                        TrovikSetVar setvar, TrovikGetVpVar getvpvar,
                                        TrovikSetVpVar setvpvar, TrovikObject application,
                                        const char* dllPath) {
  size_t n = strlen(dllPath);
  (void)setvar;
  (void)getvpvar;
  (void)setvpvar;
  (void)application;
  getfunction = getfunction_;
  getvar = getvar_;
  if (n >= 4 && n < sizeof logPath) {
    memcpy(logPath, dllPath, n - 4);
    strcpy(logPath + n - 4, ".log");
  }
  LoadLibraryA(dllPath);
  note("dllinfo2");
}

/* Registered only so that the DLL is loaded at the start. */
TROVIK_EXPORT void TROVIK_CALL form1create(void) {}

TROVIK_EXPORT void TROVIK_CALL onclose(int32_t reason) {
  char text[MAX_PATH + 32];
  sprintf(text, "onclose %d", (int)reason);
  note(text);
  if (reason != TROVIK_STOP_CLOSE) return;
  snprintf(text, sizeof text, "%sTrovik.ini", getvar("realpath"));
  WritePrivateProfileStringA("Options", "DisableVP", "1", text);
  ((TrovikProc)getfunction("loadoptions"))();
  note("loadoptions returned");
}
