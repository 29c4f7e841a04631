#pragma once
// Saving settings into config.ini without losing any of it: only the changed keys' lines change,
// and the new file replaces the old one whole or not at all.
#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <string>

#include "app/Config.h"
#include "core/Bindings.h"

// The system calls of a save, one per step. The game uses the system's own; a test puts in one
// that fails to see each step fail.
struct FileCalls {
    int (*open)(const char* path, int flags, mode_t mode);
    ssize_t (*write)(int descriptor, const void* bytes, std::size_t count);
    int (*fsync)(int descriptor);
    int (*close)(int descriptor);
    int (*rename)(const char* from, const char* to);
};
extern FileCalls fileCalls;
extern const FileCalls systemFileCalls;

// The text of a config.ini with each setting marked in `changed` set to its value in `values`.
// Every other byte stays where it was (comments, unknown keys, blank lines, a byte-order mark, CRLF
// endings, lines the reader refused). A key is rewritten on the last line the reader takes it from,
// keeping that line's ending; a key the reader takes from no line is appended, with the file's own
// line ending. Each command marked in `keysChanged` (none when null) gets its KEY_ line the same way,
// with the name of the key bound to it now.
std::string rewriteConfig(const std::string& text, const int values[settingCount], const bool changed[settingCount],
                          const bool keysChanged[commandCount] = nullptr);

// Writes the current value of each setting marked in `changed` (and key of each command marked in
// `keysChanged`) into the config.ini at `path`
// (through a symbolic link, into its target; its folder is made when missing). The new text is
// written beside the file, flushed to disk and renamed over it, so the file is always either the
// old one or the new one, whole. On any failure one console line says that the settings were not
// saved and why, no temporary file is left, and false is returned; the settings stay in force.
bool saveSettings(const std::filesystem::path& path, const bool changed[settingCount],
                  const bool keysChanged[commandCount] = nullptr);
