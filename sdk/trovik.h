/*
 * trovik.h - the contract between Trovik and a Trovik+ extension DLL.
 *
 * Everything an extension may rely on is in this file; GUIDE.md walks through
 * it with the two samples beside it. Plain C, usable from C++ as well.
 *
 * Binary conventions
 *   - Calling convention: every function in this file, exported by the DLL or
 *     handed out by Trovik, is TROVIK_CALL: __stdcall on 32-bit Windows, the
 *     platform's only convention on 64-bit Windows.
 *   - Export names are undecorated and case-sensitive: "dllinfo2", not
 *     "_dllinfo2@28". With MinGW link 32-bit DLLs with -Wl,--kill-at (or list
 *     the exports in a .def file); check with `objdump -p your.dll`.
 *   - Text is const char*, NUL-terminated, in the ANSI code page: a
 *     character the code page lacks (a file name in another script) reaches
 *     the extension as "?". An extension that exports "dllutf8" answering 1
 *     takes and gives all text as UTF-8 instead, and sees every name whole.
 *     A null pointer passed to Trovik reads as the empty text.
 *   - Booleans are 32-bit integers (TrovikBool): 0 is false, 1 is true; Trovik
 *     takes any non-zero value as true.
 *   - Integers are 32-bit signed (int32_t) unless a type below says otherwise.
 *   - Text returned by a Trovik function belongs to Trovik. It stays valid
 *     until the next call of the same Trovik function (from any extension),
 *     so copy it when you need it longer. Never free it.
 *   - Everything runs on Trovik's one GUI thread. Do not call Trovik from
 *     another thread.
 *   - Do not let a C++ exception or a longjmp leave an export: catch
 *     everything inside.
 */
#ifndef TROVIK_H
#define TROVIK_H

#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define TROVIK_CALL __stdcall
#else
#define TROVIK_CALL
#endif

#if defined(_WIN32)
#define TROVIK_DLLEXPORT __declspec(dllexport)
#else
#define TROVIK_DLLEXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
#define TROVIK_EXTERN_C extern "C"
#else
#define TROVIK_EXTERN_C
#endif

/* Declares an export of the extension: TROVIK_EXPORT void TROVIK_CALL form1create(void) {...} */
#define TROVIK_EXPORT TROVIK_EXTERN_C TROVIK_DLLEXPORT

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t TrovikBool;

/*
 * An object of Trovik: the application (the sixth argument of dllinfo2), a
 * window (getform1, getaddedit, getoptionsform) or what the object slots
 * cobject, cobject2 and cobject3 hold. It is opaque: pass it back to Trovik,
 * compare it, keep it in cobject3; never dereference it. Windows and the
 * application live as long as Trovik runs.
 */
typedef void* TrovikObject;

/* ------------------------------------------------------------------------ */
/* Values of the non-text event slots                                        */

/* mousebutton */
enum { TROVIK_MB_LEFT = 0, TROVIK_MB_RIGHT = 1, TROVIK_MB_MIDDLE = 2 };
/* shiftstate: held modifier keys and mouse buttons, one bit each */
enum {
  TROVIK_SS_SHIFT = 1,
  TROVIK_SS_ALT = 2,
  TROVIK_SS_CTRL = 4,
  TROVIK_SS_LEFT = 8,
  TROVIK_SS_RIGHT = 16,
  TROVIK_SS_MIDDLE = 32,
  TROVIK_SS_DOUBLE = 64
};
/* dragstate */
enum { TROVIK_DS_ENTER = 0, TROVIK_DS_LEAVE = 1, TROVIK_DS_MOVE = 2 };
/* closeaction: what the main window does after "form1close" */
enum { TROVIK_CA_NONE = 0, TROVIK_CA_HIDE = 1, TROVIK_CA_FREE = 2, TROVIK_CA_MINIMIZE = 3 };

/* Stop reasons passed to "onclose" */
enum {
  TROVIK_STOP_CLOSE = 1,   /* the main window closes */
  TROVIK_STOP_DISABLE = 2, /* the extension system is being switched off */
  TROVIK_STOP_REMOVE = 3   /* this extension is being removed */
};

/* The message slots message, wmdropfiles, wmendsession, wmwindowposchanging:
   message, wParam, lParam, result. */
typedef struct TrovikMessage {
  uint32_t msg;
  uint32_t wParam;
  uint32_t lParam;
  uint32_t result;
} TrovikMessage;

/* The slot msg: a queued message. */
typedef struct TrovikMsg {
  uint32_t hwnd;
  uint32_t message;
  uint32_t wParam;
  uint32_t lParam;
  uint32_t time;
  uint32_t x;
  uint32_t y;
} TrovikMsg;

/* ------------------------------------------------------------------------ */
/* The five functions every extension receives in dllinfo2                   */

/* Address of the Trovik function of that name (matched in any case), or
   null. Cast it to the type listed for the name below. Raises "getfunction". */
typedef void*(TROVIK_CALL* TrovikGetFunction)(const char* name);

/* Value of a named variable as text: "true"/"false" for booleans, decimal for
   integers, texts as they are. "?!?!" for an unknown or write-only name.
   Raises "getvar" (and "booltostr" for a boolean). */
typedef const char*(TROVIK_CALL* TrovikGetVar)(const char* name);

/* Sets a named variable: a boolean becomes true exactly when the value is
   "true" in any case; an integer takes a decimal 32-bit number; a text takes
   the value as given. Returns 1 when the variable was set (or an extension
   took the write over), 0 when nothing changed: for an unknown name, and for
   a conversion error, an integer variable given a text that is not a decimal
   32-bit number ("12abc", "0x10", " 3", "99999999999"); the variable then
   keeps its value. Raises "setvar" and "strtobool". */
typedef TrovikBool(TROVIK_CALL* TrovikSetVar)(const char* name, const char* value);

/* Value of an event slot as text, "?!" for an unknown name. For cobject,
   cobject2 and cobject3 the TrovikObject itself is returned in place of the
   text. No event of its own (reading cboolean raises "booltostr"). */
typedef const char*(TROVIK_CALL* TrovikGetVpVar)(const char* name);

/* Sets an event slot from text (for the cobject slots: the TrovikObject
   itself, passed in place of the text). Returns 1 when the slot was set, 0
   for an unknown name, a value that is not a number where one is needed, or
   a slot that cannot be written. No event of its own (writing cboolean
   raises "strtobool"). */
typedef TrovikBool(TROVIK_CALL* TrovikSetVpVar)(const char* name, const char* value);

/* ------------------------------------------------------------------------ */
/* Exports Trovik looks for in an extension DLL                              */

/*
 * "dllinfo2" (required): called once each time Trovik loads the DLL, before
 * any other export: on its first event, options or about request, right after
 * installation, and before "onremove". Without it Trovik calls no event,
 * "showoptions", "showabout", "vpstartup" or "onremove" export; a DLL without
 * it cannot be installed. dllPath is the DLL's path as listed in vp2.qdx.
 */
typedef void(TROVIK_CALL* TrovikDllInfo2)(TrovikGetFunction getfunction, TrovikGetVar getvar,
                                          TrovikSetVar setvar, TrovikGetVpVar getvpvar,
                                          TrovikSetVpVar setvpvar, TrovikObject application,
                                          const char* dllPath);

/*
 * One export per event the extension registered, named exactly as Trovik
 * names the event (see the catalogue in GUIDE.md; mind the case, for example
 * "OptionsFormapplyclick"). No arguments: the event's parameters are in the
 * event slots (getvpvar/setvpvar). Also the form of "vpstartup" (right after
 * installation), "onremove" (removed while not loaded), "showoptions" and
 * "showabout" (the Options and About buttons of the Trovik+ page).
 */
typedef void(TROVIK_CALL* TrovikEventExport)(void);

/* "onclose": Trovik unloads the DLL; reason is a TROVIK_STOP_... value. */
typedef void(TROVIK_CALL* TrovikOnClose)(int32_t reason);

/*
 * "dllutf8" (optional): 1 when the extension takes and gives text as UTF-8:
 * then every text of this file crosses as UTF-8 while Trovik is calling the
 * extension (dllinfo2's dllPath, what getvar, getvpvar and the functions
 * return, and what the extension passes to them). Without it, or answering
 * 0, text crosses in the ANSI code page. Asked once each time Trovik loads
 * the DLL, before dllinfo2; calls made while Trovik is not calling any
 * extension use the ANSI code page.
 */
typedef TrovikBool(TROVIK_CALL* TrovikDllUtf8)(void);

/* ------------------------------------------------------------------------ */
/* Functions reached through getfunction, by the type of their address       */

/* "loadoptions", "saveformstate", "loadlist", "savelist", "clcommedit2",
   "refreshmrl", "resort", "sortoff", "modesoff", "nextfileset",
   "previousfileset", "createnewfileset", "centremain", "showhints",
   "autosize", "loadvplist", "updateform1", "updateaddedit", "updateoptions",
   "updateacf", "updateopenfiledir" */
typedef void(TROVIK_CALL* TrovikProc)(void);

/* "blankset" (a directory with trailing backslash), "runlink" (a link
   entry), "autocomplete", "loadformtext" and "loadhelptext" (the text is not
   used) */
typedef void(TROVIK_CALL* TrovikTextProc)(const char* text);

/* "madd", "clcommmrl" */
typedef void(TROVIK_CALL* TrovikIntProc)(int32_t value);

/* "forcehold" */
typedef void(TROVIK_CALL* TrovikForceHold)(int32_t a, int32_t b, int32_t c, const char* text,
                                           TrovikBool flag);

/* "ismr", "islocalfile", "strotobool" (note the spelling: that is the name of
   strtobool in the table) */
typedef TrovikBool(TROVIK_CALL* TrovikTextToBool)(const char* text);

/* "findcommand", "isloaded" (index in the loaded-library table, or -1) */
typedef int32_t(TROVIK_CALL* TrovikTextToInt)(const char* text);

/* "extractcommand", "removecommands", "extractleafdir" */
typedef const char*(TROVIK_CALL* TrovikTextToText)(const char* text);

/* "autobuild": a directory and a tab index; the text result */
typedef const char*(TROVIK_CALL* TrovikAutobuild)(const char* root, int32_t index);

/* "shutdownwindows": ExitWindowsEx flags (16 bits used); success */
typedef TrovikBool(TROVIK_CALL* TrovikShutdownWindows)(int32_t flags);

/* "forceforegroundwindow": a window handle (an HWND); whether it came to the front */
typedef TrovikBool(TROVIK_CALL* TrovikForceForegroundWindow)(void* window);

/* "rescalecontrols": a window object from getform1 and its sisters */
typedef void(TROVIK_CALL* TrovikRescaleControls)(TrovikObject form);

/* "getform1", "getaddedit", "getoptionsform", "getacf", "getopenfiledir" */
typedef TrovikObject(TROVIK_CALL* TrovikGetObject)(void);

/* "booltostr": "true" or "false" */
typedef const char*(TROVIK_CALL* TrovikBoolToStr)(TrovikBool value);

/* "loadvp": raises an event by name as Trovik does (the extensions
   registered for it at the moments whose flag is set); returns 1 when an
   "override" registration was found while the override flag was set */
typedef TrovikBool(TROVIK_CALL* TrovikLoadVp)(const char* event, TrovikBool before,
                                              TrovikBool override_, TrovikBool after);

/* "runvpa": loads and announces the DLL when needed, then calls its export */
typedef void(TROVIK_CALL* TrovikRunVpa)(const char* dllPath, const char* exportName);

/* "getmousebutton", "getshiftstate", "getdragstate", "getcloseaction" */
typedef int32_t(TROVIK_CALL* TrovikGetInt)(void);
/* "setmousebutton", "setshiftstate", "setdragstate", "setcloseaction" */
typedef void(TROVIK_CALL* TrovikSetInt)(int32_t value);

/* "getmessage", "getwmdropfiles", "getwmendsession", "getwmwindowposchanging"
   fill *out; "setmessage", "setwmdropfiles", "setwmendsession",
   "setwmwindowposchanging" copy *in into the slot. A null pointer does nothing. */
typedef void(TROVIK_CALL* TrovikGetMessage)(TrovikMessage* out);
typedef void(TROVIK_CALL* TrovikSetMessage)(const TrovikMessage* in);
/* "getmsg", "setmsg" */
typedef void(TROVIK_CALL* TrovikGetMsg)(TrovikMsg* out);
typedef void(TROVIK_CALL* TrovikSetMsg)(const TrovikMsg* in);

/* The function table also holds "getvar", "setvar", "getvpvar" and
   "setvpvar" (the types above). */

#ifdef __cplusplus
}
#endif

/*
 * The text file beside the DLL
 *
 * An extension is installed from its DLL and a text file of the same path
 * whose last four characters (".dll") are replaced by ".txt". Its first line is
 *
 *   name|options|about|reserved|event|when|event|when|...
 *
 *   name      shown in Trovik's list of extensions
 *   options   "true" (any case) when the DLL exports "showoptions"
 *   about     "true" (any case) when the DLL exports "showabout"
 *   reserved  kept, not read by Trovik
 *   event     an event name (matched in any case; the export called is named
 *             exactly as Trovik names the event)
 *   when      "before" (before Trovik's own work), "override" (instead of
 *             it: Trovik skips its work, whether or not the DLL can be called),
 *             or "after" (after the work); any case
 *
 * A pair listed twice is called twice. Further lines, up to and including the
 * first empty line, are copied into vp2.qdx with the record and otherwise
 * ignored; end the description with an empty line, and do not put "|" in it
 * (a line holding "|" is read as a record of its own).
 */

#endif /* TROVIK_H */
