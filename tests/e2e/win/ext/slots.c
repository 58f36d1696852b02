/*
 * slots.dll: a test extension that writes what a few events hand it to
 * slots.log beside it, one line per call: the event, then the mouse slots
 * (button, shift state, X, Y) or, for "stopvp", the reason and whether the
 * system was still switched on; "onclose" with its reason.
 */
#include <stdio.h>
#include <string.h>

#include "trovik.h"

static TrovikGetVar getvar;
static TrovikGetVpVar getvpvar;
static TrovikGetInt getmousebutton, getshiftstate;
static char logPath[260];

static void note(const char* text) {
  FILE* f = fopen(logPath, "a");
  if (!f) return;
  fprintf(f, "%s\n", text);
  fclose(f);
}

TROVIK_EXPORT void TROVIK_CALL dllinfo2(TrovikGetFunction getfunction, TrovikGetVar getvar_,
                                        TrovikSetVar setvar, TrovikGetVpVar getvpvar_,
                                        TrovikSetVpVar setvpvar, TrovikObject application,
                                        const char* dllPath) {
  size_t n = strlen(dllPath);
  (void)setvar;
  (void)setvpvar;
  (void)application;
  getvar = getvar_;
  getvpvar = getvpvar_;
  getmousebutton = (TrovikGetInt)getfunction("getmousebutton");
  getshiftstate = (TrovikGetInt)getfunction("getshiftstate");
  if (n >= 4 && n < sizeof logPath) {
    memcpy(logPath, dllPath, n - 4);
    strcpy(logPath + n - 4, ".log");
  }
}

/* "<event> button=<b> shift=<s> x=<cint> y=<cint2>" */
static void mouse(const char* event) {
  char line[200], x[16];
  snprintf(x, sizeof x, "%s", getvpvar("cint"));
  snprintf(line, sizeof line, "%s button=%d shift=%d x=%s y=%s", event, (int)getmousebutton(),
           (int)getshiftstate(), x, getvpvar("cint2"));
  note(line);
}

#define MOUSE(event) \
  TROVIK_EXPORT void TROVIK_CALL event(void) { mouse(#event); }
MOUSE(form1thelpmousedown)
MOUSE(form1thelpmouseup)
MOUSE(form1qswitchmousedown)

TROVIK_EXPORT void TROVIK_CALL stopvp(void) {
  char line[100], reason[16];
  snprintf(reason, sizeof reason, "%s", getvpvar("cint"));
  snprintf(line, sizeof line, "stopvp reason=%s disvp=%s", reason, getvar("disvp"));
  note(line);
}

TROVIK_EXPORT void TROVIK_CALL onclose(int32_t reason) {
  char line[32];
  snprintf(line, sizeof line, "onclose %d", (int)reason);
  note(line);
}
