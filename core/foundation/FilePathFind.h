#pragma once

#include "DllInterface.h"
#include "EngineCoreExport.h"

class Tvk_ChannelGroup;

// Turns a path relative to a source file (normally a group's file name) into a
// complete one and back, so that a project folder can be moved as a whole.
// Engine texts are Windows-style: a drive root of three characters, backslash
// separators, "..\" for the parent folder, ".\" for the source folder. A native
// absolute path (leading '/') counts as a path on the drive "/": complete
// results derived from such a source come back in native form with '/'
// separators, relative results keep the backslash form stored in files.
//
// A short-lived object: set the source path, ask for one or two paths, drop
// it. Every result lives in the object's own buffer until the next call that
// fills it. Results hold at most 258 characters; longer text is cut. Texts
// rewritten in place (CreateValidFilePath, GetGroupRelativePath, the name
// buffers) need room for 259 bytes, as every 260-character path buffer has.
class ENGINECORE_API FilePathFind : public DllInterface {
 public:
  FilePathFind();
  ~FilePathFind() override;

  virtual void SetSourcePath(const char* path);
  virtual const char* GetValidRelativeDir(const char* target);
  virtual const char* GetCompleteFilePath(const char* name);
  virtual void CreateValidFilePath(char* path, const char* base);
  virtual bool CheckValidDrive(const char* path, const char* source);
  virtual int GetDirShareCount(const char* a, const char* b);
  virtual int GetRelativeDirCount(const char* a, const char* b);
  virtual const char* GetDirName(char* buf, const char* path, int n);
  virtual int GetDirCount(const char* path);
  virtual const char* GetFileName(char* buf);
  virtual const char* GetFilePath(char* buf);
  virtual int GetBackDirCount(const char* path);
  virtual int GetDirCountFromBackDir(const char* path);
  virtual const char* GetDirNameFromBackDir(char* buf, const char* path, int n);
  virtual const char* GetCorrectFilePath(const char* name);
  virtual void GetGroupRelativePath(char* path, Tvk_ChannelGroup* group);

 protected:
  char sourcePath_[399];
  char filePath_[299];
};
