#pragma once
// Identifiers of the resources compiled into Trovik.exe from trovik.rc.

// The program's icon. Its group is the only one and the first in the file, so the
// shell shows it for the executable and for shortcuts made with icon index 0.
#define IDI_TROVIK 1
