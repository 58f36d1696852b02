#pragma once
// Every interface text: its key, who gives it its built-in wording (window
// creation, loadformtext or loadhelptext) and that wording, in table order.
// Used as TROVIK_TEXTS(X) with X(key, source, wording).
// clang-format off
#define TROVIK_TEXTS(X) \
  X(f1welcome, Creation, "Welcome to Trovik. Trovik is now fully ready for you to use. At any time, you can press F1 to access help documentation, if you have the help files installed.") \
  X(f1nolinkfile, Creation, "Warning: Your link file is missing from Trovik's directory. As a result, you will not be able to use Trovik normally. You will not be able to use any of your links unless you restore the file link.qdx.") \
  X(f1nonamefile, Creation, "Warning: Your name file was not found, so Trovik has recreated it from you link file. You will need to edit the links to re-assign their original names.") \
  X(f1nonamefileq, Creation, "Warning: No valid name file was found in the selected directory. Do you want Trovik to recreate it from you link file? You will need to edit the links to re-assign their original names.") \
  X(f1nooptionsfile, Creation, "Warning: An options file was not found. Trovik has created a new one.") \
  X(f1startnosyncerror1, Creation, "Your files are not sychronized. This could lead to Trovik functioning improperly. Do you wish to re-synchronize your links? (This will remove ") \
  X(f1startnosyncerror2, Creation, " unlinked items") \
  X(f1startnosynccritical1, Creation, "Your files are not sychronized. This will lead to Trovik functioning improperly. Do you wish to delete unassigned links? (This will remove ") \
  X(f1startnosynccritical2, Creation, " unassigned link(s)). Clicking No will re-assign the links as their file names.") \
  X(f1nodirstart, Creation, "Last directory used no longer exists. Trovik has reverted to it's root directory.") \
  X(f1runexittag, FormText, " - Run/Exit") \
  X(f1droplaunchtag, FormText, " - Drop/Launch") \
  X(f1droplaunchexittag, FormText, " - Drop/Launch/Exit") \
  X(f1opendirtag, FormText, " - Open directory") \
  X(f1runminimizetag, FormText, " - Run/Minimize") \
  X(f1droplaunchminimizetag, FormText, " - Drop/Launch/Minimize") \
  X(f1flymrtag, FormText, " - Run...") \
  X(f1delabd, FormText, "DELETE") \
  X(f1delabe, FormText, "EDIT") \
  X(f1delabc, FormText, "COPY") \
  X(f2captionadd, FormText, "Add link") \
  X(f2captionedit, FormText, "Edit link") \
  X(f2button1addcaption, FormText, "&Add") \
  X(f2button1addhint, FormText, "") \
  X(f2button1editcaption, FormText, "&OK") \
  X(f2button1edithint, FormText, "") \
  X(f2button3showcaption, FormText, ">More>") \
  X(f2button3showhint, FormText, "Show advanced run options") \
  X(f2button3hidecaption, FormText, "<More<") \
  X(f2button3hidehint, FormText, "Hide advanced run options") \
  X(f1confirmdel, FormText, "Delete ") \
  X(f1confirmcopy, FormText, "Copy ") \
  X(f1drivenotrdy, FormText, "Drive not ready") \
  X(f1filenotfound1, FormText, "The file \"") \
  X(f1filenotfound2, FormText, "\" was not found. This may be because it is on a removable drive or network that is not present, or the file has been deleted since it was linked to. Do you still want to try to run the link? (May produce unexpected results)") \
  X(f1nomrmutlirun, FormText, "You have chosen to add a multirun list item. Do you want to make your new item a multirun item?") \
  X(f1nomrovrconfirm1, FormText, "This will overwrite the existing item path, proceed? Click ") \
  X(f1nomrovrconfirm2, FormText, " and tick \"Multirun\" to add the item to a multirun list.") \
  X(f1runnosync1, FormText, "Your files are not sychronized. There is no link for the selected item. Do you wish to re-synchronize your links? (This will remove ") \
  X(f1runnosync2, FormText, " unlinked items. Clicking No will not allow you to run the link, but will retain the items.") \
  X(f1clearlistconfirm, FormText, "Are you sure you want to clear the whole list? You will not be able to recover links once you have cleared the list.") \
  X(f1dropmrcheck, FormText, "You are dropping more than one item onto the list. Would you like to add all items as a single multirun item? Clicking No will add items to the list individually as normal.") \
  X(f1nofileset, FormText, "File set not found in specified location: ") \
  X(f1saveconfirm, FormText, "Your saved fileset is much smaller than your active list. Are you sure you want to overwrite it? To re-load the saved list, click No and then Refresh list") \
  X(f1shutdownconfirm, FormText, "Shutdown Windows?") \
  X(f1shutdownfail, FormText, "Safe shutdown call failed. Attempt forced shutdown?") \
  X(f1restartconfirm, FormText, "Restart Windows?") \
  X(f1restartfail, FormText, "Safe restart call failed. Attempt forced shutdown?") \
  X(f2nolocalfile, FormText, "Error: Local file not found") \
  X(f2nolocalfile1, FormText, "Error: Local file \"") \
  X(f2nolocalfile2, FormText, "\" not found") \
  X(f2mrmanualswitch, FormText, "Warning: You are switching to manual/single link mode. Do you wish to preserve current link(s)? Clicking No will keep only the first link on the list.") \
  X(f2clearlistconfirm, FormText, "Are you sure you want to clear the whole multiple run list?") \
  X(f2addseperate, FormText, "Do you want to add only the selected item? Clicking No will add all items, seperated by commas.") \
  X(f2copymrwarning, FormText, "This will copy the entire multirun item to the list as a single item. Select an item from the multirun list to copy individual items. Proceed?") \
  X(f4nostartupdir, FormText, "Startup directory does not exists. Create?") \
  X(f4iconnectconfirm, FormText, "This will connect to the internet to check for new versions of the software. Proceed?") \
  X(f4visitsiteconfirm, FormText, "An update is available. Do you wish to visit the update site now?") \
  X(f4versionuptodate, FormText, "Your version of Trovik is currently up to date") \
  X(f4invalidtabwidth, FormText, "Invalid number for tab width. Please enter a whole number between 0 and 99999.") \
  X(f4invalidcolumnno, FormText, "Invalid number for columns. Please enter a whole number greater than 0.") \
  X(tbpatherror, FormText, "Error retrieving file path information") \
  X(tbpath, FormText, "File path: ") \
  X(f1switchwith, HelpText, "You can switch between filesets quickly using the space bar and backspace keys.") \
  X(f1switchviewwith, HelpText, "You can switch between filesets quickly using the space bar and backspace keys. You can also right click on a tab on the QuickSwitch bar to get a list of that fileset's links, and run a link from there without needing to switch to that fileset.") \
  X(f1bringtofore, HelpText, "You can bring Trovik to the foreground by pressing ") \
  X(f1usecolumns, HelpText, "You can have more links visible at a time by adding a new column to your list. Would you like Trovik to do this now?") \
  X(f2addnumber1, HelpText, "You can add a unique character to this link for faster access. You will then be able to run this link by simply pressing the ") \
  X(f2addnumber2, HelpText, " key. Would you like Trovik to assign this character to this link now?") \
  X(f2usekey1, HelpText, "You can run this link by pressing the ") \
  X(f2usekey2, HelpText, " key.") \
  X(f2newfileset, HelpText, "You have over 50 links in the current fileset. It is recommended that you have 50 or less links per fileset to speed your use of Trovik. Would you like Trovik to create a new fileset for you now? You can do this yourself through options->fileset manager.")

// The program's own messages and captions that are not among the texts
// extensions reach: each starts with its wording. Used as
// TROVIK_FIXED_TEXTS(X) with X(key, wording).
#define TROVIK_FIXED_TEXTS(X) \
  X(errort, "Error") \
  X(dirnotfoundt, "Directory not found") \
  X(nohelpfiles, "Help files not found.") \
  X(unexpected, "Unexpected error") \
  X(f1updatereminder, "You have not checked for an update for over 2 months, and there may be one available. If you have an internet connection, you should go to Options, Updates, and click Check for update.") \
  X(f1obsoletefiles1, "One or more of the following files exists in the directory ") \
  X(f1obsoletefiles2, ": qslist.qdx, Morvath.dll, vp.qdx, fshist.txt. None of these files are required by this version of Trovik. Would you like Trovik to delete them for you now?") \
  X(f1hotkeyfailed, "Failed to set bring to foreground hotkey in Windows.") \
  X(f1nofilesetdir, "There is no valid fileset in the selected directory.") \
  X(f1importappend, "Do you want to add the selected fileset's links to the current fileset? Clicking no will overwrite all links in the currently open fileset.") \
  X(f1exportoverwrite, "A fileset already exists in the selected location. Do you want to overwrite it?") \
  X(f1importtitle, "Choose the fileset to import") \
  X(f1exporttitle, "Choose the directory to export the fileset to") \
  X(f1dirgone1, "The directory ") \
  X(f1dirgone2, " in which this fileset is saved no longer exists. Do you want to create it?") \
  X(f1closeanyway, "Close Trovik anyway? Changes that could not be saved will be lost.") \
  X(f1fsdeleteconfirm, "Are you sure you want to delete this fileset? Any links contained in it will be permanently deleted.") \
  X(f1fsdeletefailed1, "Delete directory ") \
  X(f1fsdeletefailed2, " failed. There may be non-Trovik files in the directory.") \
  X(f1fsfiledeletefailed, "The fileset could not be deleted: this file cannot be deleted: ") \
  X(f4nodlltext1, "Selected dll does not have a required accompanying text file \"") \
  X(f4nodlltext2, "\" and cannot be installed") \
  X(f4nodllinfo, "Required function \"DLLInfo2\" does not exist in selected dll. Extension cannot be installed. The selected extension is not compatible with Trovik+2.") \
  X(f4basenorename, "Trovik cannot change the name of its base directory itself.") \
  X(f4fsnameempty, "The name of fileset must be at least one character long.") \
  X(f4fsnamechars, "The name of fileset must not contain the characters: \" * | : < > ? / \\") \
  X(f4fsnamecontrol, "The name of fileset must not contain control characters.") \
  X(f4fsnameend, "The name of fileset must not end in a dot or a blank.") \
  X(f4fsnamedevice, "The name of fileset must not be a device name (CON, PRN, AUX, NUL, COM0 to COM9, LPT0 to LPT9 and the like), with or without an extension.") \
  X(f4fsnamelong1, "The name of fileset is too long for Trovik's directory: it may have at most ") \
  X(f4fsnamelong2, " characters.") \
  X(f4fsnameunique1, "Name of fileset must be unique - a fileset named ") \
  X(f4fsnameunique2, " already exists.") \
  X(f4fsrenamefailed1, "The fileset could not be renamed to ") \
  X(f4fsrenamefailed2, ": ") \
  X(f4fsdeleteconfirm, "Are you sure you want to delete the selected fileset and all of its contents?") \
  X(f4fsdeletet, "Confirm fileset deletion") \
  X(f4fsdeletefailed1, "Delete directory ") \
  X(f4fsdeletefailed2, " failed. There may be non-Trovik files in the directory.") \
  X(f4fsclearconfirm, "Are you sure you want to delete ALL filesets (except the base fileset) and ALL of their contents? THIS CANNOT BE UNDONE!") \
  X(f4fscleart, "Confirm all filesets deletion") \
  X(f4fsclearfailed, "Deleting one or more fileset directories failed. There may be non-Trovik files in some directories.") \
  X(f4clearcontentsconfirm, "Are you sure you want to delete all items in this fileset? This action cannot be undone.") \
  X(f4itemlink, "Link associated with this item: ") \
  X(f4nothingtocopy, "There is nothing selected to copy.") \
  X(f4nothingtocut, "There is nothing selected to cut.") \
  X(f4theseitems1, "these ") \
  X(f4theseitems2, " items") \
  X(f4invalidport, "Invalid number for the proxy port. Please enter a whole number between 1 and 65535, or leave it empty.") \
  X(f4fetchfailed, "Could not fetch ") \
  X(f4noconnection, "no connection to the internet is available") \
  X(f4badproxy, "The proxy server is not a host name or address: ") \
  X(f4badport, "The proxy port is not a number from 1 to 65535: ") \
  X(f4badsite, "The update site address cannot be used: ") \
  X(f4badmove1, "The update site file ") \
  X(f4badmove2, " names a new address that cannot be used: ") \
  X(f4sitekept, "The update site was not changed.") \
  X(f4badversion1, "The version file ") \
  X(f4badversion2, " does not hold a whole number: ") \
  X(f4openfailed, "Could not open the update page ")
// clang-format on
