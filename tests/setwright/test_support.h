// What both Setwright test programs share: the build's files as Windows
// paths, the QuickTime registry key of the test prefix, the stand-in library
// and the logs the stand-ins write.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace setwright_test {

constexpr char kQtKey[] = "Software\\Apple Computer, Inc.\\QuickTime";

// $name as a Windows path (the build passes Z:/... paths), or "" when unset.
std::string EnvPath(const char* name);

// A stand-in QuickTime.qts: "full", or one lacking an entry point:
// "no-dispatcher", "no-call-component", "no-call-with-storage".
std::string StandInLibrary(const char* variant);

// Copies the stand-in into `folder` (created as needed); returns its path.
std::string StageStandIn(const char* variant, const std::string& folder);

// The QuickTime key under HKEY_LOCAL_MACHINE. The test prefix has no
// QuickTime, so the key belongs to the tests: Reset removes it.
void ResetQtKey();
void SetQtValue(const char* name, const std::string& value);

// A fresh folder for one test's files (removed and re-created).
std::string FreshFolder(const std::string& path);
void RemoveTree(const std::string& path);

// The lines of a log file, without line ends; empty when there is none.
std::vector<std::string> ReadLines(const std::string& path);

// The name of each logged call: the word after its selector.
std::vector<std::string> CallNames(const std::vector<std::string>& lines);

std::string Lower(std::string s);
std::string SystemDirectory();

}  // namespace setwright_test
