// The user texts the tests expect, in the language the running locale gives,
// and the sample part they hand over.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qel::test
{

std::string StartSolidWorksText();
std::string GeometryPointerNullText();
std::string NoGeometryDataText();
std::string CannotCreate2DPartText();
std::string CannotCreatePartText(const std::string& path, const std::string& reason);
// The reason 121 gives when the SAT writer left no file.
std::string SatFileNotWrittenText(const std::string& satFile);
std::string CannotInsertPartText(const std::string& reason);
// The reasons given for no part directory at all, a stored one that is no full path, and a
// settings file that cannot be read.
std::string NoPartDirectoryText();
std::string PartDirectoryRelativeText(const std::string& directory);
std::string SettingsNotReadText(const std::string& file, const std::string& reason);
// The reasons 121 gives when SolidWorks opened no new document, when the part
// directory stayed in use, when the host called again from inside an insertion.
std::string SatFileNotImportedText(const std::string& satFile);
// SolidWorks holds another folder's document of the name; it gave no title.
std::string NamesakeOpenText(const std::string& name);
std::string NoDocumentTitleText();
std::string PartFileNotSavedText(const std::string& file);
std::string DirectoryBusyText(const std::string& directory, unsigned seconds);
std::string ReenteredText(const std::string& directory);
// The text of the box shown while an insertion waits for the part directory.
std::string WaitingText(const std::string& directory);
std::string WaitCancelledText(const std::string& directory);
// A new part refused because the part directory's lock file cannot serve.
std::string LockFileUnusableText(const std::string& directory, unsigned long error);
// A cancelled SolidWorks call's reason; the box of a call not come back.
std::string CallCancelledText();
// The note on a part file SolidWorks may still hold.
std::string PartFileLeftText();
std::string NotAnsweringText(unsigned seconds);
// The system's text for an error code, as the messages carry it.
std::string SystemReasonText(unsigned long error);
std::string DllErrorText(const std::string& dll, long code);
std::string FunctionErrorText(const std::string& function, const std::string& dll);

// The sample part of the tests: a bolt with the attributes Designation M8x20,
// Standard DIN 933 and Strength class 8.8.
std::vector<uint8_t> BoltBlock();

} // namespace qel::test
