// Packs the generated data folder into the show's archive. Files are given by their path below
// the archive's top folder; every folder gets its own entry, written before anything inside it,
// and entries come in path order, so the same files always give the same archive.
#pragma once

#include <map>
#include <string>

// path below the top folder -> file bytes
using FileTree = std::map<std::string, std::string>;

bool WriteArchive(const std::string& archivePath, const FileTree& files, std::string* error);
