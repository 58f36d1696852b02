/*
 * Event log: writes a line to eventlog.log beside the DLL each time Trovik
 * calls one of the events this extension registered in eventlog.txt, with
 * the text slot for the events that carry one. Also logs its loading and
 * unloading, and shows an about box.
 */
#include <stdio.h>
#include <string.h>
#include <windows.h>

/* Inside the SDK folder; your own extension says "trovik.h" and builds with -I path/to/sdk. */
#include "../../trovik.h"

static TrovikGetVpVar getvpvar;
static char logPath[MAX_PATH];

static void logLine(const char* what, const char* detail) {
  FILE* f = fopen(logPath, "a");
  SYSTEMTIME t;
  if (!f) return;
  GetLocalTime(&t);
  fprintf(f, "%02d:%02d:%02d.%03d %s%s%s\n", t.wHour, t.wMinute, t.wSecond, t.wMilliseconds, what,
          detail ? " " : "", detail ? detail : "");
  fclose(f);
}

TROVIK_EXPORT void TROVIK_CALL dllinfo2(TrovikGetFunction getfunction, TrovikGetVar getvar,
                                        TrovikSetVar setvar, TrovikGetVpVar getvpvar_,
                                        TrovikSetVpVar setvpvar, TrovikObject application,
                                        const char* dllPath) {
  size_t n = strlen(dllPath);
  (void)getfunction;
  (void)getvar;
  (void)setvar;
  (void)setvpvar;
  (void)application;
  getvpvar = getvpvar_;
  /* eventlog.dll -> eventlog.log, in the DLL's own folder */
  if (n >= 4 && n < sizeof logPath) {
    memcpy(logPath, dllPath, n - 4);
    strcpy(logPath + n - 4, ".log");
  }
  logLine("loaded from", dllPath);
}

TROVIK_EXPORT void TROVIK_CALL onclose(int32_t reason) {
  char text[16];
  sprintf(text, "%d", (int)reason);
  logLine("onclose", text);
}

TROVIK_EXPORT void TROVIK_CALL showabout(void) {
  MessageBoxA(NULL, "Event log: writes the events it registered to eventlog.log.", "Event log",
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
