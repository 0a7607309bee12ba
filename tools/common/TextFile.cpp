#include "TextFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

FILE* OpenTextFile(const std::string& path, FileKinds kinds, bool* regular, std::string* error) {
  FILE* file = fopen(path.c_str(), "rb");
  if (!file) {
    // Windows refuses to open a folder at all (access denied): say what it is instead.
    const int reason = errno;
    struct stat status;
    const bool folder = stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
    *error = "cannot read " + path + ": " + (folder ? "it is a folder" : strerror(reason));
    return nullptr;
  }
  struct stat status;
  const char* refusal = nullptr;
  if (fstat(fileno(file), &status) != 0)
    refusal = strerror(errno);
  else if (S_ISDIR(status.st_mode))
    refusal = "it is a folder";
  else if (kinds == FileKinds::kFilesAndPipes && !S_ISREG(status.st_mode) &&
           !S_ISFIFO(status.st_mode))
    refusal = "it is a device, not a file";
  if (refusal) {
    *error = "cannot read " + path + ": " + refusal;
    fclose(file);
    return nullptr;
  }
  *regular = S_ISREG(status.st_mode);
  return file;
}

bool ReadRest(FILE* file, const std::string& path, std::string* text, std::string* error) {
  char buffer[1 << 16];
  size_t got;
  while ((got = fread(buffer, 1, sizeof(buffer), file)) > 0) text->append(buffer, got);
  if (!ferror(file)) return true;
  *error = "cannot read " + path + ": " + strerror(errno);
  return false;
}

bool ReadTextFile(const std::string& path, FileKinds kinds, std::string* text, std::string* error) {
  bool regular = false;
  FILE* file = OpenTextFile(path, kinds, &regular, error);
  if (!file) return false;
  text->clear();
  bool read = ReadRest(file, path, text, error);
  fclose(file);
  return read;
}
