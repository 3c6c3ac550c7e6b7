#pragma once

#include <string>

namespace platform {

/** The running executable's full path, as the system gives it (bytes, not decoded). */
std::string executablePath();

/**
 * The folder of the running executable: its full path up to and including the last
 * path separator ("\\" or ":" on Windows, "/" on Linux).
 */
std::string executableDirectory();

/** True when a file can be created in `directory` (which ends in a separator). */
bool isDirectoryWritable(const std::string &directory);

/**
 * The program's folder among the user's own data, created when missing, ending in a
 * separator: ${XDG_DATA_HOME:-$HOME/.local/share}/murelin/ on Linux, %APPDATA%\Murelin\ on
 * Windows. Empty when there is none.
 */
std::string userDataDirectory();

/**
 * Where a read-only file shipped with the program (the help page) is found: beside the
 * executable when it is there, otherwise in the program's installed data folder. On Linux that
 * folder is <prefix>/share/murelin/, reached from the executable's own folder <prefix>/bin/,
 * so an installed tree still works when it is moved or unpacked elsewhere. On Windows every
 * such file lives beside the executable. Never empty when the executable's folder is known.
 */
std::string dataFilePath(const std::string &name);

/** The name of the help file shipped with the program, in the system help viewer's format. */
const char *helpFileName();

} // namespace platform
