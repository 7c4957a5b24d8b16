#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// Windows-style file names over the Linux file system.
//
// Inside the game names keep their Windows form (drive letter, colon,
// backslashes, compared case-insensitively). The translation happens here, at
// the system call: drive C: is the root of the Linux file system, drive D: is
// the CD folder named in the configuration, and no other drive exists. Every
// component is looked up case-insensitively, so a name written in another case
// reaches the file that exists. A "/" is read as "\".
namespace platform {

// ---- Names ----

// The longest name the game handles, in characters, without the terminator.
constexpr size_t kMaxFileNameLength = 259;

// The Linux path for a game name, each existing component in its spelling on
// disk (the first match in byte order when several differ only in case);
// components that do not exist yet keep the spelling given. A name without a
// drive is relative to the current folder; "\name" starts at drive C:. Empty
// for null, for names longer than kMaxFileNameLength, for network names
// ("\\server\share") and for drives that do not exist.
std::optional<std::string> MapFileName(const char* name);

// The game name of a Linux path ("C:\home\ann" for "/home/ann", "D:\..." for
// a path inside the CD folder). A relative path is taken from the current
// folder. Empty when the path cannot be made absolute.
std::string GameFileName(const std::string& linuxPath);

// The current folder as a game name with a final backslash; empty on failure.
std::string CurrentFolderName();

// ---- Drives ----

enum class DriveKind : int32_t {
  Absent,  // no such drive
  Fixed,   // C:, the Linux root
  Cd,      // D:, the configured CD folder
};

// The drive of a letter (either case).
DriveKind GetDriveKind(char letter);

// Names the Linux folder that drive D: stands for; an empty text, or a folder
// that does not exist, leaves the machine without a CD drive.
void SetCdFolder(const std::string& linuxFolder);
const std::string& GetCdFolder();

// ---- Replacing files ----

// Asks the system to put a file's bytes (or a folder's entries) on the disk;
// false when it cannot be opened or synced.
bool SyncPath(const std::string& linuxPath);
// Moves a finished file over another in one step. The file's bytes reach the
// disk before the rename and the folder's entry after it, so neither a crash
// nor a power cut leaves a half-written or empty file under the final name.
bool ReplaceFile(const std::string& fromLinuxPath, const std::string& toLinuxPath);
// Removes the temporaries "<name>.XXXXXX" (six letters or digits) that a
// writer killed between creating and renaming them left beside linuxPath.
void RemoveStaleTemporaries(const std::string& linuxPath);

// ---- Text helpers ----

// ASCII case-insensitive equality of two texts.
bool SameNameNoCase(const std::string& a, const std::string& b);

}  // namespace platform
