// Small file helpers shared by the content loaders: a folder listing by a case-insensitive
// mask, and whole-file reads.
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
