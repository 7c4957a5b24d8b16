#pragma once

#include <optional>
#include <string>
#include <vector>

// The text of a configuration file: sections in square brackets and lines of a
// key, an equals sign and a value. Sections and keys compare case-insensitively
// and the first of several equal ones counts. Every other line (comments,
// blank lines, text before the first section) is kept as it stands, so a
// rewritten file differs only in the entries that were set.
class IniFile {
 public:
  // Reads the file at a Linux path; a missing file gives an empty text. False
  // when the file exists but cannot be read or is implausibly large.
  bool Load(const std::string& path);
  // Replaces the file through a temporary file in the same folder and a
  // rename, so a crash never leaves half a configuration behind.
  bool Save(const std::string& path) const;

  void Parse(const std::string& text);
  std::string Text() const;

  // The value without surrounding blanks (and without one pair of surrounding
  // quotes); empty optional when the entry is missing.
  std::optional<std::string> Find(const std::string& section, const std::string& key) const;
  // Sets the value of an entry, adding the entry (and its section) when missing.
  void Set(const std::string& section, const std::string& key, const std::string& value);
  // Removes the entry when it exists.
  void Remove(const std::string& section, const std::string& key);

  // Files larger than this are refused rather than read into memory.
  static constexpr size_t kMaximumSize = 1 << 20;

 private:
  struct Position {
    size_t sectionLine;  // the section's header line, or lines_.size() when missing
    size_t entryLine;    // the entry's line, or lines_.size() when missing
    size_t endLine;      // the line after the section's last non-blank line
  };
  Position Locate(const std::string& section, const std::string& key) const;

  std::vector<std::string> lines_;
  std::string lineEnd_ = "\n";
};
