// Reads the property records of model meshes and skinned meshes (name, property type, animation
// type, then a constant or timed keys) into Property objects. What the values mean (shadow flags
// and so on) is the owner's business.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "math/property.h"

class BinaryReader;

using PropertyMap = std::map<std::string, std::unique_ptr<Property>>;

// Reads the property count and the records at the cursor into properties. Beyond the reader's
// own checks, an unknown type, a type pair that Property has no storage for, and key times that
// are not finite and strictly increasing are fatal; a later record of
// the same name replaces an earlier one. owner names the holder in reports ("mesh \"floor\"");
// the reader's context is left set to the last property read.
void ReadPropertyRecords(BinaryReader& reader, const std::string& owner, PropertyMap* properties);

// Fatal when a key at time follows one at previousTime (the first key passes nullptr) in a way
// no curve can use: non-finite, or not later than the previous key. what names the key in the
// report. Shared with the animation tracks.
void CheckKeyTime(const BinaryReader& reader, size_t offset, float time, const float* previousTime,
                  const char* what);
