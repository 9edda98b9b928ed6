// Small file helpers shared by the content loaders: a folder listing by a case-insensitive
// mask, whole-file reads, and the name under which reports mention a content file.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// Appends to files the names (without folder) of the entries of directory that match mask
// ("*.geo"); the list is not cleared first. A missing folder or no match leaves it unchanged.
// The directory may use "\" or "/" and is found case-insensitively.
void ListFiles(std::vector<std::string>& files, const std::string& directory,
               const std::string& mask);

// Reads a whole file in binary mode. On failure returns false with data null and size 0.
bool ReadWholeFile(const std::string& path, std::unique_ptr<unsigned char[]>& data, size_t& size);

// The data folder that reports name content files relative to. Empty (the default) until the
// show sets it; the path may use "\\" or "/".
void SetContentRoot(const std::string& folder);

// The name under which a report mentions a content file: its path below the content root, with
// "/" between the components ("textures/end.png", "loader.jpg"), when it lies below the root;
// otherwise the last two components of the path, as BinaryReader::DisplayName gives them.
// Both paths go through the resolver first, so "Effects\\Sprite.vpr" becomes "effects/Sprite.vpr"
// when that is the file that opens.
std::string ContentFileName(const std::string& path);
