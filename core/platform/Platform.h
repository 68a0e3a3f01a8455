#pragma once

// The engine's only road to the operating system. Engine texts keep
// backslash-separated paths; every function here that touches a file accepts
// that form and converts it to the native one itself.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "EngineCoreExport.h"
#include "Guid.h"
#include "PlatformTypes.h"

namespace platform {

// ---- paths ---------------------------------------------------------------

// Backslashes become slashes; nothing else changes. Null gives "".
ENGINECORE_API std::string NativePath(const char* enginePath);
// The process's current directory in native form; "" when it cannot be read.
ENGINECORE_API std::string CurrentDirectory();

// ---- files -----------------------------------------------------------------

ENGINECORE_API bool FileExists(const char* path);        // a plain file
ENGINECORE_API bool DirectoryExists(const char* path);
// Bit 0 (read-only) is set when the process cannot write the file. A path
// that does not exist has no attributes (0).
inline constexpr std::uint32_t kFileAttributeReadOnly = 0x1;
ENGINECORE_API std::uint32_t FileAttributes(const char* path);
// Opens (creating when missing) with an exclusive lock, appends, closes.
ENGINECORE_API bool AppendToFile(const char* path, const void* data, std::size_t size);
// Reads a whole plain file; false when it cannot be read or is larger than
// maxSize, and then `out` is left as it was. Never holds more than maxSize bytes.
ENGINECORE_API bool ReadWholeFile(const char* path, std::vector<char>& out,
                                  std::size_t maxSize = SIZE_MAX);
// Writes a temporary file beside the target, flushes it to disk and renames it
// over the target, so the previous file survives every failure (the temporary
// file is removed again). A new file gets the umask's mode, a replaced one
// keeps its mode.
ENGINECORE_API bool WriteFileAtomically(const char* path, const void* data, std::size_t size);
ENGINECORE_API bool RemoveFile(const char* path);
// The plain files (not directories; links by what they point to) of a
// directory, bare names, in byte order of the names. Empty when the directory
// cannot be read.
ENGINECORE_API std::vector<std::string> ListPlainFiles(const char* directory);

// ---- dynamic libraries -------------------------------------------------------

// Loads by path (anything containing a separator) or, for a bare name, searches
// the directories of the library search-path variable as it is at the call
// (the system loader reads it only at process start) and loads the first such
// file found, and otherwise falls back on the system loader's own search.
// Symbols are bound at once and stay local to the library. Null on failure;
// LastLibraryError tells why.
ENGINECORE_API HINSTANCE LoadLibraryFile(const char* pathOrName);
ENGINECORE_API void* FindLibrarySymbol(HINSTANCE module, const char* name);
ENGINECORE_API void UnloadLibrary(HINSTANCE module);
// A numeric code for the last failed load on this thread (an errno value:
// ENOENT when there is no such file, ENOEXEC when a file was found but did not
// load) and the loader's own explanation. Successful loads leave both alone.
ENGINECORE_API int LastLibraryErrorCode();
ENGINECORE_API std::string LastLibraryErrorText();

// ---- process environment -------------------------------------------------------

// The variable through which plug-ins find each other and what they import, and
// the separator between its directories.
ENGINECORE_API const char* LibrarySearchPathVariable();   // "LD_LIBRARY_PATH"
ENGINECORE_API char LibrarySearchPathSeparator();          // ':'
ENGINECORE_API std::optional<std::string> GetEnvironmentValue(const char* name);
// For this process only; a null value removes the variable.
ENGINECORE_API bool SetEnvironmentValue(const char* name, const char* value);

// ---- settings store ------------------------------------------------------------------

// Named, typed values grouped under keys such as "Software\Varnel\Viewer". The
// store lives below $VARNEL_SETTINGS_DIR, else $XDG_CONFIG_HOME/varnel, else
// ~/.config/varnel (empty or relative variables are passed over); one file per
// key, replaced atomically on every write. Key components are separated by
// backslashes or slashes; a key path with an empty component, "." or ".." is
// refused. A corrupt file reads as a missing key. Names compare exactly.
enum class SettingType { String, Number };
struct SettingValue {
  SettingType type = SettingType::String;
  std::string text;        // for String
  std::int64_t number = 0;  // for Number
};
ENGINECORE_API std::string SettingsRoot();
ENGINECORE_API bool SettingsKeyExists(const char* keyPath);
// Creates the key when missing; replaces an existing value of that name.
// False when the key path is refused or the file cannot be written.
ENGINECORE_API bool WriteSetting(const char* keyPath, const char* valueName, const SettingValue& value);
// Empty when the key or the value does not exist.
ENGINECORE_API std::optional<SettingValue> ReadSetting(const char* keyPath, const char* valueName);

// ---- message boxes -----------------------------------------------------------------

enum class MessageBoxIcon { None, Error, Exclamation, Information };
enum class MessageBoxButtons { Ok, RetryCancel };
enum class MessageBoxAnswer { Ok, Retry, Cancel };
struct MessageBoxRequest {
  HWND owner = nullptr;
  std::string text;
  std::string caption;
  MessageBoxIcon icon = MessageBoxIcon::None;
  MessageBoxButtons buttons = MessageBoxButtons::Ok;
};
using MessageBoxHandler = std::function<MessageBoxAnswer(const MessageBoxRequest&)>;
// Without a handler a box is written to standard error and answered at once (OK,
// or Cancel for Retry/Cancel), so a headless run never waits. An empty handler
// restores that default. Returns the handler that was installed before.
ENGINECORE_API MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);
// Whether standard input is a terminal a person can answer at.
ENGINECORE_API bool StandardInputIsTerminal();
ENGINECORE_API MessageBoxAnswer ShowModalMessageBox(HWND owner, const char* text, const char* caption,
                                                    MessageBoxIcon icon, MessageBoxButtons buttons);

// ---- time --------------------------------------------------------------------------

// Milliseconds from the monotonic clock, wrapping at 32 bits.
ENGINECORE_API std::uint32_t GetTickCount();
ENGINECORE_API void SleepMilliseconds(std::uint32_t ms);
// Local date as yyyy-MM-dd and time as HH:mm:ss (24-hour clock).
ENGINECORE_API std::string FormatLocalDate();
ENGINECORE_API std::string FormatLocalTime();

// ---- identifiers -----------------------------------------------------------------

// A new random (version 4) GUID.
ENGINECORE_API GUID CreateGuid();

// ---- threads -----------------------------------------------------------------------

struct ThreadHandleTag;
using ThreadHandle = ThreadHandleTag*;
using ThreadEntry = void (*)(void* argument);
// Starts a thread at once; null on failure with the error code in *error.
// *threadId receives a process-unique, non-zero ID before the thread runs.
ENGINECORE_API ThreadHandle CreateThread(ThreadEntry entry, void* argument, std::uint32_t* threadId, int* error);
// Best effort: asks the thread to be cancelled; it ends at its next
// cancellation point (a sleep, a blocking call), unwinding its stack. The
// handle stays valid.
ENGINECORE_API void TerminateThread(ThreadHandle thread);
// Forgets and frees the handle; a thread that has not finished runs on detached.
ENGINECORE_API void CloseThreadHandle(ThreadHandle thread);
// Ends the calling thread, unwinding its stack.
[[noreturn]] ENGINECORE_API void ExitCurrentThread();

// The one process-wide lock held around every plug-in initialisation. It is
// recursive: a plug-in's constructor may create further channels, whose
// initialisation takes the lock again on the same thread.
ENGINECORE_API void LockPluginInit();
ENGINECORE_API void UnlockPluginInit();

}  // namespace platform
