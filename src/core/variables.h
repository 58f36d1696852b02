#pragma once
// The process-wide variables: directories, option mirrors and run-time flags.
// Field names are the names extensions read and write them by.
#include <cstdint>
#include <string>

namespace trovik {

struct Variables {
  // Directories, each with a trailing backslash.
  std::string realpath;  // BaseDirectory: the program's own directory
  std::string apppath;   // the current fileset's directory

  // Link entry syntax.
  std::string commandsep = ">:";  // between a target and its parameters
  std::string mrs = "|";          // ends each member of a multirun entry

  // Options (mirrors of Trovik.ini, filled by the options loader).
  bool ldirect = false;            // DirectExe
  bool dropext = false;            // RemoveDropExtension
  bool ignorebc = false;           // IgnoreBC
  bool condel = false;             // ConfirmDelete
  bool confirmfsdelete = false;    // ConfirmFSDelete
  bool savepos = false;            // RemPosition
  bool disflymr = false;           // DisableFlyMR
  bool useforceflymr = false;      // ForceFlyMR
  bool wconfirms = false;          // ConfirmShutdown
  bool wconfirmr = false;          // ConfirmRestart
  bool disablelocalcheck = false;  // DisableLocalFileCheck
  bool retainsort = false;         // RetainSortOrder
  bool onetimemode = false;        // OneTimeMode
  bool exceptonmode = false;       // ExceptOnMode
  bool lclick = false;             // Click
  bool stray = false;              // SysTray
  bool sh = true;                  // ShowHints
  bool shutonx = false;            // ShutdownOnExit
  bool keepod = false;             // KeepOnDesktop
  bool proxuse = false;            // Proxy
  std::int32_t userlevel = 0;      // UserLevel
  std::int32_t fostyle = 0;        // ForceOrderStyle
  std::int32_t forcewait = 1000;   // ForceWait
  std::int32_t autoclevel = 0;     // AutoCompleteLevel
  std::string proxn, proxun, proxport;
  std::string slkey = "&0";  // ShowOnKey
  std::string usite;         // UpdateSite

  // Run-time state.
  bool disvp = false;          // the extension system is switched off
  bool noconfirmsave = false;  // the next save skips the overwrite question
  bool norun = false;
  bool maxnfix = false;
  bool maxed = false;
  bool remtes = false;
  bool sortbreak = false;
  std::int32_t curitem = 0;
  std::uintptr_t masterhandle = 0;  // the application's hidden owner window
  std::int32_t cvr = 1000;          // the program's version, compared by the update check
  std::int32_t number = 0;          // scratch while options load and the options dialog is prepared
  bool applied = false;             // the options dialog's settings were applied
  bool editing = false;             // the browse dialog edits the selected multirun member
  bool adding = false;              // the browse dialog adds multirun members
  bool nolist = false;              // the Add/Edit path completion list stays hidden
  // Kept for extensions; the program itself neither sets nor reads them.
  bool eshut = false;
  bool importing = false;
  bool exporting = false;
};

}  // namespace trovik
