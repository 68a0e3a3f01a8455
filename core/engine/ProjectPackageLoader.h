#pragma once

#include "EngineCoreExport.h"

class EngineInterface;

inline constexpr int kStartGroupFileSize = 400;

// Reads a project package (".vnl"): remembers its start group, checks the
// engine version it needs and installs the plug-ins and libraries it carries
// into the install directory's channels and 3rd folders.
class ENGINECORE_API ProjectPackageLoader {
 public:
  explicit ProjectPackageLoader(EngineInterface* engine);
  virtual ~ProjectPackageLoader();

  // 0: read; 1: the package could not be read; 2: the package needs what this
  // engine cannot give (a newer engine, a plug-in or library it cannot install).
  virtual int InitializeVNLFile(const char* path);
  // The start group of the last package: its directory followed by the name
  // the package gives.
  virtual const char* GetStartGroupFile();

  ProjectPackageLoader(const ProjectPackageLoader&) = delete;
  ProjectPackageLoader& operator=(const ProjectPackageLoader&) = delete;

 private:
  EngineInterface* engineInterface_;
  char startGroupFile_[kStartGroupFileSize];
};
