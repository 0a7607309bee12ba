// Files read for the tools, with the system's reason when they cannot be.
#pragma once

#include <cstdio>
#include <string>

enum class FileKinds {
  kFilesAndPipes,  // data read once: a folder or a device (a terminal, /dev/zero) is refused
  kAllButFolders,  // lines that may come from a terminal too
};

// Opens path for reading in binary; null with *error naming the path and the reason: the
// system's (strerror) when it cannot be opened, or what kind of file it is when `kinds` refuses
// that kind. *regular tells whether it is a regular file, which can be read again.
FILE* OpenTextFile(const std::string& path, FileKinds kinds, bool* regular, std::string* error);

// Appends what is left of an open file to *text; false with *error (naming path) when reading
// fails.
bool ReadRest(FILE* file, const std::string& path, std::string* text, std::string* error);

// Reads the whole file at path into *text: OpenTextFile, then ReadRest.
bool ReadTextFile(const std::string& path, FileKinds kinds, std::string* text, std::string* error);
