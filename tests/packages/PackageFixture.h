#pragma once

// The engine a package test reads packages with, in an install directory of
// its own, and the texts of the boxes the reader shows.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "Guid.h"
#include "PackageSupport.h"
#include "TestSupport.h"

namespace packagetest {

inline std::string NotFoundText(const GUID& type) {
  return "A channel that is needed for this project was not found in the installation path : " + GuidText(type);
}
inline std::string FailedText(const GUID& type) {
  return "A channel that is needed for this project failed to initialize : " + GuidText(type);
}
inline std::string TooOldText(const GUID& type) {
  return "A channel that is needed for this project has an incorrect engine version : " + GuidText(type);
}
inline const std::string kVersionText =
    "Incorrect viewer version for vnl file. Please use new viewer found at https://varnel.invalid/viewer";
inline const std::string kLibraryText = "Unable to locate third party dll";
inline std::string DamagedText(const std::string& path) { return "The vnl file is damaged or incomplete : " + path; }

class PackageTest : public ::testing::Test {
 protected:
  PackageWriter Writer() { return PackageWriter(engine.Get()); }
  int Read(const std::string& path) { return engine->engineInterfaceExt->InitializeVNLFile(path.c_str()); }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : boxes.Boxes()) texts.push_back(box.text);
    return texts;
  }

  PackageInstall install;
  testsupport::StartedEngine engine{install.Dir()};
  testsupport::RecordingMessageBoxes boxes;
  testsupport::TempDir packages;
};

}  // namespace packagetest
