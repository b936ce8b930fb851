// The file names of the part directory: the temporary SAT file, the room left
// for a stem built from the attributes, the extension rules of part files and
// the search for an existing part file. Portable (no Windows headers), so the
// same rules are checked natively under the sanitizers.
#pragma once

#include <cstddef>

namespace qel
{

// Document types of SolidWorks part files.
constexpr int kDocTypeUnknown = 0;
constexpr int kDocTypePart = 1;
constexpr int kDocTypeAssembly = 2;

// partDir (cut to 248 characters), a separator where it lacks one, then
// "TempSW.sat"; always terminated within outSize.
void MakeSatFilePath(const char* partDir, char* out, std::size_t outSize);

// Copies partDir (at most 258 characters) into a path buffer and appends a
// separator where it lacks one. Returns the length L of the result.
std::size_t CopyPartDirectory(const char* partDir, char* buffer, std::size_t bufferSize);

// The room for a stem behind a directory of length L, terminator included:
// directory plus stem stay within 244 characters. Negative for long
// directories; a capacity of 1 or less leaves no room for a stem.
int StemCapacity(std::size_t directoryLength);
bool StemFits(int capacity);

// A name typed into the Save dialog that names no existing part file loses a
// part file's extension (.SLDPRT or .SLDASM, any letter case), which the new
// document's type gives back; any other dot belongs to the name:
// C:\parts\M6x1.5 and C:\old.parts\bolt stay whole.
void DropExtensionOfNewName(char* path);

// A new name typed into the Save dialog keeps to the bound of a built one
// (directory and stem 244 characters, cut on a character boundary; a typed
// .SLDPRT/.SLDASM stays behind the cut): with its extension it stays within
// the 255 characters SolidWorks saves.
void CutNewName(char* path);

// kDocTypePart / kDocTypeAssembly when the text after the path's last '.' is
// SLDPRT / SLDASM in any letter case, else kDocTypeUnknown.
int PartFileTypeOfExtension(const char* path);

// The extension that a document of this type is saved with.
const char* PartFileExtension(int docType);

// True when path names a part file to open, told by its attributes: a file
// with content, also one that another program holds without sharing. An empty
// file (left by a save that never ended) counts as missing, as does a directory.
bool HoldsPartFile(const char* path);

// True when the path's last component is a name Windows takes for a device.
bool NamesDeviceFile(const char* path);

// A typed name that Windows would take for a device gets the "_" of a built
// one right behind the device word (C:\parts\nul.SLDPRT gives nul_.SLDPRT),
// so that the part has a file and the same typed name finds it again. A
// path without room for it in its buffer is left as it is.
void KeepTypedNameClearOfDevices(char* path, std::size_t bufferSize);

// Looks for an existing part file for the stem path (a buffer of bufferSize
// bytes): path + ".SLDPRT", else path + ".SLDASM"; a path that ends in one of
// them already is a stem as well. A candidate that names a device or would
// not fit the buffer is skipped. On success completes path and returns its
// document type; else kDocTypeUnknown.
int FindPartFile(char* path, std::size_t bufferSize);

} // namespace qel
