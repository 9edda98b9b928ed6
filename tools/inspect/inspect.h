// pindle-inspect: shows a content author what the program reads. Every command prints JSON on
// the output stream, except validate, which prints one line per problem ("ok" when none).
//   dump FILE [--times T,...]      .geo .skm .ani .cam .mat .png .jpg .scene
//   eval FILE.ani --times T,...    node matrices of an animation instance
//   cameras FILE.cam --animation FILE.ani --times T,... [--aspect A]
//   validate PATH                  a data folder, or a demodat archive
// A file that fails to load gives the fatal report on the error stream and a non-zero result.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// Runs one command line (without the program name); returns the exit code.
int RunInspect(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Lists every problem of a data folder, one "<file or name>: <what is wrong>" each.
std::vector<std::string> ValidateDataFolder(const std::string& folder);
