#include "runtime/IniFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "base/TextUtils.h"
#include "platform/FileSystem.h"

namespace {

bool IsBlank(char character) { return character == ' ' || character == '\t'; }

std::string Trim(const std::string& text) {
  size_t start = 0;
  size_t end = text.size();
  while (start < end && IsBlank(text[start])) {
    ++start;
  }
  while (end > start && IsBlank(text[end - 1])) {
    --end;
  }
  return text.substr(start, end - start);
}

// The section name of a header line "[name]", or nothing for other lines.
std::optional<std::string> SectionName(const std::string& line) {
  const std::string trimmed = Trim(line);
  if (trimmed.empty() || trimmed[0] != '[') {
    return std::nullopt;
  }
  const size_t close = trimmed.find(']');
  if (close == std::string::npos) {
    return std::nullopt;
  }
  return Trim(trimmed.substr(1, close - 1));
}

bool IsComment(const std::string& line) {
  const std::string trimmed = Trim(line);
  return !trimmed.empty() && trimmed[0] == ';';
}

// The key of an entry line "key=value", or nothing for other lines.
std::optional<std::string> KeyName(const std::string& line) {
  const size_t equals = line.find('=');
  if (equals == std::string::npos || IsComment(line)) {
    return std::nullopt;
  }
  return Trim(line.substr(0, equals));
}

bool SameName(const std::string& a, const std::string& b) {
  return CompareNoCase(a.c_str(), b.c_str()) == 0;
}

std::string Unquote(const std::string& value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

bool WriteAll(int descriptor, const std::string& text) {
  size_t written = 0;
  while (written < text.size()) {
    const ssize_t result = write(descriptor, text.data() + written, text.size() - written);
    if (result < 0 && errno == EINTR) {
      continue;
    }
    if (result <= 0) {
      return false;
    }
    written += static_cast<size_t>(result);
  }
  return true;
}

}  // namespace

bool IniFile::Load(const std::string& path) {
  lines_.clear();
  lineEnd_ = "\n";
  struct stat status;
  if (stat(path.c_str(), &status) != 0) {
    return errno == ENOENT;
  }
  if (!S_ISREG(status.st_mode) || static_cast<size_t>(status.st_size) > kMaximumSize) {
    return false;
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    return false;
  }
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (text.size() > kMaximumSize) {
    return false;
  }
  Parse(text);
  return true;
}

bool IniFile::Save(const std::string& path) const {
  std::string pattern = path + ".XXXXXX";
  const int descriptor = mkstemp(pattern.data());
  if (descriptor < 0) {
    return false;
  }
  struct stat status;
  const mode_t mode = (stat(path.c_str(), &status) == 0) ? (status.st_mode & 07777) : 0644;
  const bool written = fchmod(descriptor, mode) == 0 && WriteAll(descriptor, Text());
  const bool closed = close(descriptor) == 0;
  // The bytes reach the disk before the rename, and the folder's entry after
  // it, so a power cut leaves the old file or the new one, never an empty one.
  if (!written || !closed || !platform::ReplaceFile(pattern, path)) {
    unlink(pattern.c_str());
    return false;
  }
  return true;
}

void IniFile::Parse(const std::string& text) {
  lines_.clear();
  lineEnd_ = "\n";
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    const bool lastLine = end == std::string::npos;
    if (lastLine) {
      end = text.size();
    }
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
      if (lines_.empty()) {
        lineEnd_ = "\r\n";  // a file keeps the line ends it was written with
      }
    }
    lines_.push_back(line);
    start = end + 1;
  }
}

std::string IniFile::Text() const {
  std::string text;
  for (const std::string& line : lines_) {
    text += line;
    text += lineEnd_;
  }
  return text;
}

IniFile::Position IniFile::Locate(const std::string& section, const std::string& key) const {
  Position position{lines_.size(), lines_.size(), lines_.size()};
  size_t line = 0;
  for (; line < lines_.size(); ++line) {
    const std::optional<std::string> name = SectionName(lines_[line]);
    if (name && SameName(*name, section)) {
      break;
    }
  }
  if (line == lines_.size()) {
    return position;
  }
  position.sectionLine = line;
  position.endLine = line + 1;
  for (++line; line < lines_.size() && !SectionName(lines_[line]); ++line) {
    if (!Trim(lines_[line]).empty()) {
      position.endLine = line + 1;
    }
    const std::optional<std::string> name = KeyName(lines_[line]);
    if (name && position.entryLine == lines_.size() && SameName(*name, key)) {
      position.entryLine = line;
    }
  }
  return position;
}

std::optional<std::string> IniFile::Find(const std::string& section, const std::string& key) const {
  const Position position = Locate(section, key);
  if (position.entryLine == lines_.size()) {
    return std::nullopt;
  }
  const std::string& line = lines_[position.entryLine];
  return Unquote(Trim(line.substr(line.find('=') + 1)));
}

void IniFile::Set(const std::string& section, const std::string& key, const std::string& value) {
  const Position position = Locate(section, key);
  if (position.entryLine != lines_.size()) {
    const std::string& line = lines_[position.entryLine];
    lines_[position.entryLine] = Trim(line.substr(0, line.find('='))) + "=" + value;
    return;
  }
  if (position.sectionLine != lines_.size()) {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(position.endLine), key + "=" + value);
    return;
  }
  while (!lines_.empty() && Trim(lines_.back()).empty()) {
    lines_.pop_back();
  }
  if (!lines_.empty()) {
    lines_.emplace_back();
  }
  lines_.push_back("[" + section + "]");
  lines_.push_back(key + "=" + value);
}

void IniFile::Remove(const std::string& section, const std::string& key) {
  const Position position = Locate(section, key);
  if (position.entryLine != lines_.size()) {
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(position.entryLine));
  }
}
