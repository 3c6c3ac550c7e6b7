#pragma once

// The numbers of the program's resources (murelin.rc), shared by the resource compiler and
// the code that loads them.

/** The program's icon, every size from 16 to 256 pixels. */
#define ProgramIconId 1
