// The ".geo" model loader: an optional "KVNMDL" header with a 16-bit version, then mesh records.
// Version 0 (also a file without the header) carries no mesh transforms; every other does. Input
// is untrusted: damage or a vertex type above 5 is fatal through the reader (binaryreader.h).
#pragma once

#include <cstddef>
#include <memory>
#include <string>

class Model;

// The six bytes that open a model or skinned-mesh file with a header.
constexpr char kModelMagic[6] = {'K', 'V', 'N', 'M', 'D', 'L'};

// The header rule shared with skinned meshes: with more than 7 bytes that start with the magic,
// *version is the 16-bit value at offset 6 and the body starts at offset 8; otherwise *version
// is 0 and the body starts at 0. Returns the body's offset.
size_t ReadModelHeader(const unsigned char* data, size_t size, unsigned* version);

// Reads the file; one that can't be read fails the assertion
// false && "couldn't load model file".
std::unique_ptr<Model> LoadModel(const std::string& path);

// Parses a file held in memory; fileName appears in reports.
std::unique_ptr<Model> LoadModelFromMemory(const void* data, size_t size,
                                           const std::string& fileName);
