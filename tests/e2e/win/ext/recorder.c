/*
 * recorder.dll: a test extension written from the SDK header alone. It
 * appends one line per call to recorder.log beside itself: its loading,
 * "runlink" with the entry it was asked to run (registered "override", so
 * the launch does not happen), "stopvp" with its reason, and "onclose".
 */
#include <stdio.h>
#include <string.h>

#include "trovik.h"

static TrovikGetVpVar getvpvar;
static char logPath[260];

static void note(const char* what, const char* detail) {
  FILE* f = fopen(logPath, "ab");
  if (!f) return;
  fprintf(f, "%s%s%s\n", what, detail ? " " : "", detail ? detail : "");
  fclose(f);
}

TROVIK_EXPORT void TROVIK_CALL dllinfo2(TrovikGetFunction getfunction, TrovikGetVar getvar,
                                        TrovikSetVar setvar, TrovikGetVpVar getvpvar_,
                                        TrovikSetVpVar setvpvar, TrovikObject application,
                                        const char* dllPath) {
  size_t n = strlen(dllPath);
  (void)getvar;
  (void)setvar;
  (void)setvpvar;
  getvpvar = getvpvar_;
  if (n >= 4 && n < sizeof logPath) {
    memcpy(logPath, dllPath, n - 4);
    strcpy(logPath + n - 4, ".log");
  }
  /* Whatever it got must be usable: an application object and a table. */
  note("dllinfo2",
       application && getfunction("runlink") && !getfunction("strtobool") ? "ok" : "incomplete");
}

TROVIK_EXPORT void TROVIK_CALL runlink(void) { note("runlink", getvpvar("cstring")); }

TROVIK_EXPORT void TROVIK_CALL stopvp(void) { note("stopvp", getvpvar("cint")); }

TROVIK_EXPORT void TROVIK_CALL onclose(int32_t reason) {
  char text[16];
  sprintf(text, "%d", (int)reason);
  note("onclose", text);
}
