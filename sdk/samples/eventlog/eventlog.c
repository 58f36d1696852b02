/*
 * Event log: writes a line to eventlog.log beside the DLL each time Trovik
 * calls one of the events this extension registered in eventlog.txt, with
 * the text slot for the events that carry one. Also logs its loading and
 * unloading, and shows an about box. It takes text as UTF-8 (see dllutf8), so
 * names in any script reach the log whole, and the log is UTF-8.
 */
#include <stdio.h>
#include <wchar.h>
#include <windows.h>

/* Inside the SDK folder; your own extension says "trovik.h" and builds with -I path/to/sdk. */
#include "../../trovik.h"

static TrovikGetVpVar getvpvar;
static wchar_t logPath[MAX_PATH];

static void logLine(const char* what, const char* detail) {
  FILE* f = _wfopen(logPath, L"a");
  SYSTEMTIME t;
  if (!f) return;
  GetLocalTime(&t);
  fprintf(f, "%02d:%02d:%02d.%03d %s%s%s\n", t.wHour, t.wMinute, t.wSecond, t.wMilliseconds, what,
          detail ? " " : "", detail ? detail : "");
  fclose(f);
}

/* Every text from and to Trovik is UTF-8 for this extension. */
TROVIK_EXPORT TrovikBool TROVIK_CALL dllutf8(void) { return 1; }

TROVIK_EXPORT void TROVIK_CALL dllinfo2(TrovikGetFunction getfunction, TrovikGetVar getvar,
                                        TrovikSetVar setvar, TrovikGetVpVar getvpvar_,
                                        TrovikSetVpVar setvpvar, TrovikObject application,
                                        const char* dllPath) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, dllPath, -1, logPath, MAX_PATH) - 1;
  (void)getfunction;
  (void)getvar;
  (void)setvar;
  (void)setvpvar;
  (void)application;
  getvpvar = getvpvar_;
  /* eventlog.dll -> eventlog.log, in the DLL's own folder */
  if (n >= 4)
    wcscpy(logPath + n - 4, L".log");
  else
    logPath[0] = 0;
  logLine("loaded from", dllPath);
}

TROVIK_EXPORT void TROVIK_CALL onclose(int32_t reason) {
  char text[16];
  sprintf(text, "%d", (int)reason);
  logLine("onclose", text);
}

TROVIK_EXPORT void TROVIK_CALL showabout(void) {
  MessageBoxW(NULL, L"Event log: writes the events it registered to eventlog.log.", L"Event log",
              MB_OK | MB_ICONINFORMATION);
}

/* One export per registered event, each under the event's exact name. */
#define LOGGED(event) \
  TROVIK_EXPORT void TROVIK_CALL event(void) { logLine(#event, NULL); }
#define LOGGED_TEXT(event) \
  TROVIK_EXPORT void TROVIK_CALL event(void) { logLine(#event, getvpvar("cstring")); }

LOGGED(form1create)
LOGGED(form1close)
LOGGED(loadoptions)
LOGGED(loadlist)
LOGGED(savelist)
LOGGED(loadformtext)
LOGGED(form1list1click)
LOGGED(form1list1doubleclick)
LOGGED_TEXT(runlink)
LOGGED(stopvp)
