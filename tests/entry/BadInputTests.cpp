// The catalogue of inputs a user or a host can get wrong, each called through
// the exports as the host calls them: the result, the error text and what is
// left on disk. Every row also ends with no reference held on SolidWorks.
// The observed outcomes are written as a Markdown table beside the test
// program (bad-input-catalogue-<language>.md) for the reliability notes.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ExpectedTexts.h"
#include "HostInstallation.h"
#include "PluginModule.h"
#include "tests/settings/TempVariables.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/SettingsFileOverride.h"
#include "tests/support/TestFiles.h"
#include "tools/partblock/PartBlockBuilder.h"
#include "tools/partblock/TextEscapes.h"
#include "tools/swsim/SimulatorClient.h"

using testing::ElementsAreArray;

namespace qel::test
{
namespace
{

const std::string kBoltFile = "M8x20_DIN 933_8.8.SLDPRT";

// What a call left behind.
struct Outcome
{
    int result = -1;
    std::string text;               // the error text ("" when none was written)
    std::vector<std::string> files; // the part directory (or the SAT file's folder)
};

// The simulator with an assembly open, an empty part directory as the
// settings give it, the plug-in loaded in this process.
class CBadInputBed
{
public:
    explicit CBadInputBed(swsim::CSimulatorClient& simulator) : m_simulator(simulator)
    {
        m_simulator.Configure("reset=1 docs=assembly");
        m_folder.MakeDir("parts");
        m_folder.MakeDir("direct");
        SetPartPath(PartDir());
    }

    std::string PartDir() const { return m_folder.PathOf("parts\\"); }
    // Where the direct-file rows put their SAT files.
    std::string DirectDir() const { return m_folder.PathOf("direct\\"); }
    void SetPartPath(const std::string& path)
    {
        m_settings.reset();
        m_settings = std::make_unique<CSettingsFileOverride>("[Options]\r\nPartPath=" + path +
                                                             "\r\nOverwrite=0\r\n");
    }

    Outcome Create(const std::vector<uint8_t>* block, const char* parameters = "ShowMessages=0")
    {
        char buffer[1024] = {};
        Outcome outcome;
        outcome.result = m_plugin.QelCreate_2(block != nullptr ? block->data() : nullptr,
                                              parameters, buffer, sizeof(buffer));
        outcome.text = buffer;
        outcome.files = FileNamesIn(PartDir());
        return outcome;
    }

    // A part the plug-in cannot name asks for a name: the user cancels.
    Outcome CreateAndCancelTheSaveDialog(const std::vector<uint8_t>& block)
    {
        CDialogDriver user({{CDialogDriver::kSaveFile,
                             [](HWND dialog) { CDialogDriver::Press(dialog, IDCANCEL); }}});
        return Create(&block);
    }

    // QelCreateDirectFile with name at the start of a buffer of size bytes.
    Outcome DirectFile(const std::string& name, std::size_t size)
    {
        std::vector<char> buffer(size, '\0');
        std::memcpy(buffer.data(), name.c_str(), std::min(size, name.size() + 1));
        std::vector<uint8_t> block = BoltBlock();
        Outcome outcome;
        outcome.result =
            m_plugin.QelCreateDirectFile(block.data(), buffer.data(), static_cast<unsigned>(size));
        outcome.files = FileNamesIn(DirectDir());
        return outcome;
    }

    // A name that fills its whole buffer without a NUL, the buffer ending
    // where readable memory ends: a read past the size would fault.
    Outcome DirectFileWithoutTerminator()
    {
        SYSTEM_INFO system;
        GetSystemInfo(&system);
        const std::size_t page = system.dwPageSize;
        auto* pages = static_cast<char*>(
            VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        std::unique_ptr<char, void (*)(char*)> owner(pages, [](char* p)
                                                     { VirtualFree(p, 0, MEM_RELEASE); });
        DWORD old = 0;
        VirtualProtect(pages + page, page, PAGE_NOACCESS, &old);
        const std::string name = DirectDir() + "bolt";
        char* buffer = pages + page - name.size();
        std::memcpy(buffer, name.data(), name.size());
        std::vector<uint8_t> block = BoltBlock();
        Outcome outcome;
        outcome.result =
            m_plugin.QelCreateDirectFile(block.data(), buffer, static_cast<unsigned>(name.size()));
        outcome.text = std::string(buffer, name.size()) == name ? "" : "the name was changed";
        outcome.files = FileNamesIn(DirectDir());
        return outcome;
    }

    // qelhost in a catalogue folder of its own with the given libraries.
    Outcome HostCreate(const std::vector<std::string>& libraries)
    {
        CHostInstallation host(libraries);
        WriteFileBytes(host.PathOf("bolt.qpb"), BoltBlock());
        HostRun run = host.Run({"QelCreate_2", host.PathOf("bolt.qpb"), "", "1024"});
        Outcome outcome;
        outcome.result = run.exitCode == 0 ? std::stoi(OutputField(run.output, "result")) : -1;
        std::string error;
        UnescapeText(OutputField(run.output, "error"), outcome.text, error);
        outcome.files = FileNamesIn(PartDir());
        return outcome;
    }

    // A part inserted with the part directory dirs\<stored>: the files that
    // dirs holds, then those of the folder the setting names.
    Outcome CreateBelowDirs(const std::string& stored, const std::string& folder)
    {
        const std::string dirs = m_folder.MakeDir("dirs");
        SetPartPath(dirs + "\\" + stored);
        std::vector<uint8_t> block = BoltBlock();
        Outcome outcome = Create(&block);
        outcome.files = FileNamesIn(dirs);
        for (const std::string& file : FileNamesIn(dirs + "\\" + folder))
            outcome.files.push_back(file);
        return outcome;
    }

    // QelOptions: "..." opens the chooser, the folder's name is typed, OK; a
    // message is answered Yes (or OK) and the chooser then closed with button;
    // the options end with OK. The text: the messages; left: the stored part
    // directory below the scratch folder.
    Outcome Choose(const std::string& typed, int button = 0)
    {
        using Driver = CDialogDriver;
        const std::string path = m_folder.PathOf(typed);
        std::vector<Driver::Step> steps = {
            {Driver::kOptions, [](HWND d) { Driver::Press(d, 1102); }},
            {Driver::kChooser, [&](HWND d)
             {
                 Driver::Type(d, 1000, path);
                 Driver::Press(d, IDOK);
             }}};
        if (button != 0)
        {
            steps.push_back({Driver::kMessageBox, [](HWND box)
                             { Driver::Press(box, GetDlgItem(box, IDYES) ? IDYES : IDOK); }});
            steps.push_back({Driver::kChooser, [=](HWND d) { Driver::Press(d, button); }});
        }
        steps.push_back({Driver::kOptions, [](HWND d) { Driver::Press(d, IDOK); }});
        Driver user(steps);
        Outcome outcome;
        outcome.result = m_plugin.QelOptions();
        user.Finish();
        for (const std::string& message : user.MessageTexts())
            outcome.text += message;
        char stored[MAX_PATH] = {};
        GetPrivateProfileStringA("Options", "PartPath", "", stored, sizeof(stored),
                                 CSettingsFileOverride::Path().c_str());
        std::string relative = stored;
        if (relative.rfind(m_folder.Path() + "\\", 0) == 0)
            relative.erase(0, m_folder.Path().size() + 1);
        outcome.files = {"PartPath=" + relative};
        return outcome;
    }

    // Another folder's document of name open; left also the documents with a file.
    Outcome CreateBeside(const std::string& name, const std::string& options)
    {
        const std::string path = m_folder.MakeDir("other") + "\\" + name;
        WriteFileText(path,
                      "QelSwSim document type=" + std::string(name.back() == 'T' ? "1" : "2"));
        m_simulator.Configure(options + " open=\"" + path + "\"");
        std::vector<uint8_t> block = BoltBlock();
        Outcome outcome = Create(&block);
        for (const swsim::SimDocumentInfo& d : m_simulator.Documents())
            if (!d.path.empty())
                outcome.files.push_back(d.path.substr(m_folder.Path().size() + 1) +
                                        (d.active && outcome.result == 1 ? " (active)" : ""));
        return outcome;
    }

    const CScratchFolder& Folder() const { return m_folder; }
    swsim::CSimulatorClient& Simulator() { return m_simulator; }

private:
    swsim::CSimulatorClient& m_simulator;
    CScratchFolder m_folder{"badinput"};
    CSettingsFileOverride m_keepSettings{""}; // puts the user's settings back at the end
    std::unique_ptr<CSettingsFileOverride> m_settings;
    CPluginModule m_plugin;
};

void AddBolt(CPartBlockBuilder& builder)
{
    builder.AddAttribute("Designation", "M8x20");
    builder.AddAttribute("Standard", "DIN 933");
}

// The bolt's block with one fault put in by Spoil.
template <void (*Spoil)(CPartBlockBuilder&)> std::vector<uint8_t> SpoiledBolt()
{
    CPartBlockBuilder builder;
    AddBolt(builder);
    Spoil(builder);
    return builder.Build();
}

template <void (*Spoil)(CPartBlockBuilder&)> Outcome CreateSpoiledBolt(CBadInputBed& bed)
{
    std::vector<uint8_t> block = SpoiledBolt<Spoil>();
    return bed.Create(&block);
}

// A block of its own, made by Build.
template <void (*Build)(CPartBlockBuilder&)> Outcome CreateBuilt(CBadInputBed& bed)
{
    CPartBlockBuilder builder;
    Build(builder);
    std::vector<uint8_t> block = builder.Build();
    return bed.Create(&block);
}

void TotalSize0(CPartBlockBuilder& p)
{
    p.OverrideTotalSize(0);
}
void TotalSize12(CPartBlockBuilder& p)
{
    p.OverrideTotalSize(12);
}
void TotalSize60(CPartBlockBuilder& p)
{
    p.OverrideTotalSize(60);
}
void ItemCount5(CPartBlockBuilder& p)
{
    p.OverrideItemCount(5);
}
void PayloadBeyondTheBlock(CPartBlockBuilder& p)
{
    p.OverrideNextPayloadLength(4000);
    p.AddItem(500, {1, 2, 3});
}
void TwoDimensionalItem(CPartBlockBuilder& p)
{
    p.AddItem(302);
}
void TwoValuesOf30000(CPartBlockBuilder& p)
{
    p.AddAttribute("A", std::string(30000, 'a'));
    p.AddAttribute("B", std::string(30000, 'b'));
}
void ReservedCharacters(CPartBlockBuilder& p)
{
    p.AddAttribute("Designation", "M8<20>:\"x\"?*|/\\@");
}
void UnknownFormatWords(CPartBlockBuilder& p)
{
    p.SetFormatWords(1, 2, 3, 4);
}
// An item text whose length field claims more than an item text may hold.
void TextLongerThanAllowed(CPartBlockBuilder& p)
{
    // Display attributes, the name "Note", then a value length of 30001.
    const std::string head("\xFF\0\xFF\0\xFF\0\x01\0\x04\0Note\0\x31\x75", 17);
    std::string payload = head + std::string(30002, 'A');
    p.AddItem(303, std::vector<uint8_t>(payload.begin(), payload.end()));
}

std::string Repeated(char c, std::size_t count)
{
    return std::string(count, c);
}

// A directory path of the given length (its trailing backslash included)
// under the scratch folder.
std::string DirectoryOfLength(const CBadInputBed& bed, std::size_t length)
{
    std::string path = bed.Folder().PathOf("d");
    path.resize(length - 1, 'x');
    return path + "\\";
}

bool RunningOnWine()
{
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

// What a row needs beyond any Windows: Wine's view of the Linux root, or code page 932.
const char *const kWine = "Wine", *const kCp932 = "code page 932";

struct BadInputRow
{
    const char* name; // its area, then what: GTEST_FILTER=*/BadInputTest.*/NAME runs it alone
    const char* input;
    Outcome (*run)(CBadInputBed&);
    int result;
    std::string (*text)(const CBadInputBed&); // null: no error text
    std::vector<std::string> files;
    const char* needs = nullptr; // kWine, kCp932
};

std::string NoText(const CBadInputBed&)
{
    return std::string();
}

std::string NoGeometry(const CBadInputBed&)
{
    return NoGeometryDataText();
}

// A new part in a directory whose lock cannot be had: nothing is written.
std::string LockRefusedIn(const std::string& directory, unsigned long error)
{
    return CannotCreatePartText(directory + "M8x20_DIN 933_8.8",
                                LockFileUnusableText(directory, error));
}

// A part directory whose lock file is a named pipe: a handle without byte-range locks.
std::string PipeDirectory()
{
    return "\\\\.\\pipe\\qel-" + std::to_string(GetCurrentProcessId()) + "\\";
}

const std::vector<std::string> kNothing;
// The part directory's lock file stays once an insertion has taken the lock.
const std::string kLockFile = "QelSW99_3D.lock";
const std::vector<std::string> kNewPart = {kBoltFile, kLockFile, "TempSW.sat"};
// Code page 932: the second bytes of 表 and ソ are a backslash's, that of ポ a bar's.
const std::string kHyo = "\x95\x5C";
const std::string kSo = "\x83\x5C";
const std::string kPump = "\x83\x7C\x83\x93\x83\x76";
// ソケット and ダケット (ダ, 83 5F, is what ソ became made file-safe byte by byte).
const std::string kSoketto = kSo + "\x83\x50\x83\x62\x83\x67";
const std::string kDaketto = "\x83\x5F\x83\x50\x83\x62\x83\x67";
// Parts of the given values, one after the other: the sum of the results;
// left: the part directory (sorted) and the number of imports.
Outcome CreateInTurn(CBadInputBed& b, const std::vector<std::vector<std::string>>& parts)
{
    Outcome outcome{0, "", {}};
    for (const std::vector<std::string>& values : parts)
    {
        CPartBlockBuilder builder;
        for (const std::string& value : values)
            builder.AddAttribute("Value", value);
        std::vector<uint8_t> block = builder.Build();
        outcome.result += b.Create(&block).result;
    }
    outcome.files = FileNamesIn(b.PartDir());
    std::sort(outcome.files.begin(), outcome.files.end());
    int imports = 0;
    for (const std::string& call : b.Simulator().JournalLines())
        imports += call.rfind("app 0x31 ", 0) == 0 ? 1 : 0;
    outcome.files.push_back(std::to_string(imports) + " imports");
    return outcome;
}

const BadInputRow kRows[] = {
    {"Block_NullPointer", "null pointer", [](CBadInputBed& b) { return b.Create(nullptr); }, 0,
     [](const CBadInputBed&) { return GeometryPointerNullText(); }, kNothing},
    {"Block_TotalSize0", "total size 0", CreateSpoiledBolt<TotalSize0>, 0, NoGeometry, kNothing},
    {"Block_TotalSize12", "total size 12, smaller than its own header",
     CreateSpoiledBolt<TotalSize12>, 0, NoGeometry, kNothing},
    {"Block_TotalSizeCutsAnAttribute", "truncated: the total size ends inside the second attribute",
     CreateSpoiledBolt<TotalSize60>, 0, NoGeometry, kNothing},
    {"Block_ItemCount5", "item count 5 with 2 items", CreateSpoiledBolt<ItemCount5>, 0, NoGeometry,
     kNothing},
    {"Block_PayloadBeyondTheBlock", "an item's payload length reaching 4000 bytes beyond the block",
     CreateSpoiledBolt<PayloadBeyondTheBlock>, 0, NoGeometry, kNothing},
    {"Block_TextOf30001", "an item text claiming 30,001 characters",
     CreateSpoiledBolt<TextLongerThanAllowed>, 0, NoGeometry, kNothing},
    {"Block_TwoDimensionalItem", "a 2D item after the attributes",
     CreateSpoiledBolt<TwoDimensionalItem>, 0,
     [](const CBadInputBed&) { return CannotCreate2DPartText(); }, kNothing},
    {"Block_UnknownFormatWords",
     "unknown format words (no attribute read, so no name): Save dialog cancelled",
     [](CBadInputBed& b)
     { return b.CreateAndCancelTheSaveDialog(SpoiledBolt<UnknownFormatWords>()); },
     0, NoText, kNothing},
    {"Text_TwoValuesOf30000",
     "two values of 30,000 characters (the most a block holds)",
     [](CBadInputBed& b)
     {
         Outcome outcome = CreateBuilt<TwoValuesOf30000>(b);
         // The name is cut so that directory and name keep to 244 characters.
         for (std::string& file : outcome.files)
             if (file == Repeated('a', 244 - b.PartDir().size()) + ".SLDPRT")
                 file = "aa...a.SLDPRT (directory and name cut to 244 characters)";
         return outcome;
     },
     1,
     NoText,
     {"aa...a.SLDPRT (directory and name cut to 244 characters)", kLockFile, "TempSW.sat"}},
    {"Text_DeviceNames",
     "device names as values: NUL, com1, Aux. bracket, each twice: three files, found again",
     [](CBadInputBed& b)
     {
         return CreateInTurn(
             b, {{"NUL"}, {"com1"}, {"Aux. bracket"}, {"NUL"}, {"com1"}, {"Aux. bracket"}});
     },
     6,
     NoText,
     {"Aux_. bracket.SLDPRT", "NUL_.SLDPRT", kLockFile, "TempSW.sat", "com1_.SLDPRT", "3 imports"}},
    {"Text_TabAndLineBreak",
     "a tab and a line break in values: M8<TAB>x20 / DIN<CR><LF>933",
     [](CBadInputBed& b) {
         return CreateInTurn(b, {{"M8\tx20", "DIN\r\n933"}});
     },
     1,
     NoText,
     {"M8_x20_DIN__933.SLDPRT", kLockFile, "TempSW.sat", "1 imports"}},
    {"Text_ReservedCharacters",
     "reserved characters in a value, and the '@' SolidWorks refuses: M8<20>:\"x\"?*|/\\@",
     CreateBuilt<ReservedCharacters>,
     1,
     NoText,
     {"M8_20___x_______.SLDPRT", kLockFile, "TempSW.sat"}},
    {"Dir_243Characters",
     "243 characters (room for a name of one character)",
     [](CBadInputBed& b)
     {
         b.SetPartPath(DirectoryOfLength(b, 243));
         std::vector<uint8_t> block = BoltBlock();
         Outcome outcome = b.Create(&block);
         outcome.files = FileNamesIn(DirectoryOfLength(b, 243));
         return outcome;
     },
     1,
     NoText,
     {"M.SLDPRT", kLockFile, "TempSW.sat"}},
    {"Dir_244Characters", "244 characters (no room for a name): Save dialog cancelled",
     [](CBadInputBed& b)
     {
         b.SetPartPath(DirectoryOfLength(b, 244));
         return b.CreateAndCancelTheSaveDialog(BoltBlock());
     },
     0, NoText, kNothing},
    {"Dir_300Characters", "300 characters: Save dialog (opened without the directory) cancelled",
     [](CBadInputBed& b)
     {
         b.SetPartPath(DirectoryOfLength(b, 300));
         return b.CreateAndCancelTheSaveDialog(BoltBlock());
     },
     0, NoText, kNothing},
    {"Dir_NoneStoredTempTooLong",
     "none stored, and TEMP too long for the system: nothing in the current one",
     [](CBadInputBed& b)
     {
         b.SetPartPath("");
         CTempVariables tmp(DirectoryOfLength(b, 300));
         char host[MAX_PATH] = {};
         GetCurrentDirectoryA(MAX_PATH, host);
         SetCurrentDirectoryA(b.PartDir().c_str());
         std::vector<uint8_t> block = BoltBlock();
         Outcome outcome = b.Create(&block);
         SetCurrentDirectoryA(host);
         return outcome;
     },
     0, [](const CBadInputBed&) { return CannotInsertPartText(NoPartDirectoryText()); }, kNothing},
    {"Dir_MissingDrive", "on a drive that does not exist (Q:\\parts)",
     [](CBadInputBed& b)
     {
         b.SetPartPath("Q:\\parts\\");
         std::vector<uint8_t> block = BoltBlock();
         return b.Create(&block);
     },
     0, [](const CBadInputBed&) { return LockRefusedIn("Q:\\parts\\", ERROR_PATH_NOT_FOUND); },
     kNothing},
    {"Dir_ReadOnlyFileSystem", "on a read-only file system (Z:\\proc\\qelparts under Wine)",
     [](CBadInputBed& b)
     {
         b.SetPartPath("Z:\\proc\\qelparts\\");
         std::vector<uint8_t> block = BoltBlock();
         return b.Create(&block);
     },
     0,
     [](const CBadInputBed&)
     { return LockRefusedIn("Z:\\proc\\qelparts\\", ERROR_PATH_NOT_FOUND); },
     kNothing, kWine},
    {"Dir_NamesAFile", "names an existing file",
     [](CBadInputBed& b)
     {
         WriteFileText(b.Folder().PathOf("afile"), "not a folder");
         b.SetPartPath(b.Folder().PathOf("afile\\"));
         std::vector<uint8_t> block = BoltBlock();
         return b.Create(&block);
     },
     0,
     [](const CBadInputBed& b)
     { return LockRefusedIn(b.Folder().PathOf("afile\\"), ERROR_PATH_NOT_FOUND); },
     kNothing},
    {"Dir_LockFileIsAFolder",
     "the lock file cannot be opened at all (a folder in its place; folders are not listed): a "
     "new part",
     [](CBadInputBed& b)
     {
         b.Folder().MakeDir("parts\\" + kLockFile);
         std::vector<uint8_t> block = BoltBlock();
         return b.Create(&block);
     },
     0, [](const CBadInputBed& b) { return LockRefusedIn(b.PartDir(), ERROR_ACCESS_DENIED); },
     kNothing},
    {"Dir_LockFileIsAFolderPartExists",
     "the same, an existing part: opened without the lock",
     [](CBadInputBed& b)
     {
         b.Folder().MakeDir("parts\\" + kLockFile);
         WriteFileText(b.PartDir() + kBoltFile, "QelSwSim document type=1\r\n");
         std::vector<uint8_t> block = BoltBlock();
         return b.Create(&block);
     },
     1,
     NoText,
     {kBoltFile}},
    {"Dir_LockFileIsAPipe", "the lock file is a named pipe (no byte-range locks)",
     [](CBadInputBed& b)
     {
         HANDLE pipe = CreateNamedPipeA((PipeDirectory() + kLockFile).c_str(), PIPE_ACCESS_DUPLEX,
                                        PIPE_TYPE_BYTE, 1, 0, 0, 0, nullptr);
         b.SetPartPath(PipeDirectory());
         std::vector<uint8_t> block = BoltBlock();
         Outcome outcome = b.Create(&block);
         CloseHandle(pipe);
         return outcome;
     },
     0,
     [](const CBadInputBed&)
     {
         // Wine's answer to a lock on a pipe, and the one Windows gives.
         return LockRefusedIn(PipeDirectory(),
                              RunningOnWine() ? ERROR_INVALID_HANDLE : ERROR_INVALID_FUNCTION);
     },
     kNothing},
    {"SolidWorks_NamesakeOpenElsewhere",
     "a document of the part's name open from another folder: not taken for it",
     [](CBadInputBed& b) { return b.CreateBeside(kBoltFile, ""); },
     0,
     [](const CBadInputBed& b)
     { return CannotCreatePartText(b.PartDir() + kBoltFile, NamesakeOpenText(kBoltFile)); },
     {kLockFile, "TempSW.sat", "other\\" + kBoltFile}},
    {"SolidWorks_NamesakePartExists",
     "the same, the part file exists: not opened",
     [](CBadInputBed& b)
     {
         WriteFileText(b.PartDir() + kBoltFile, "QelSwSim document type=1");
         return b.CreateBeside(kBoltFile, "");
     },
     0,
     [](const CBadInputBed&) { return CannotInsertPartText(NamesakeOpenText(kBoltFile)); },
     {kBoltFile, kLockFile, "other\\" + kBoltFile}},
    {"SolidWorks_ExtensionsHidden",
     "extensions hidden, an assembly of the part's name open elsewhere: left open",
     [](CBadInputBed& b)
     { return b.CreateBeside("M8x20_DIN 933_8.8.SLDASM", "show-extensions=0"); },
     1,
     NoText,
     {kBoltFile, kLockFile, "TempSW.sat", "other\\M8x20_DIN 933_8.8.SLDASM",
      "parts\\" + kBoltFile + " (active)"}},
    {"SolidWorks_NoTitleForTheSavedPart",
     "no title for the saved part: nothing closed, the part file stays",
     [](CBadInputBed& b) { return b.CreateBeside("washer.SLDPRT", "answer=doc:0x10047:\"\""); },
     0,
     [](const CBadInputBed& b)
     { return CannotCreatePartText(b.PartDir() + kBoltFile, NoDocumentTitleText()); },
     {kBoltFile, kLockFile, "TempSW.sat", "other\\washer.SLDPRT", "parts\\" + kBoltFile}},
    {"SolidWorks_BothSavesRefused",
     "both saves refused: fails naming the part file, nothing closed or opened",
     [](CBadInputBed& b) { return b.CreateBeside("washer.SLDPRT", "save=refuse"); },
     0,
     [](const CBadInputBed& b)
     {
         const std::string file = b.PartDir() + kBoltFile;
         return CannotCreatePartText(file, PartFileNotSavedText(file));
     },
     {kLockFile, "TempSW.sat", "other\\washer.SLDPRT"}},
    {"Param_UnknownItem", "unknown item: Colour=red",
     [](CBadInputBed& b)
     {
         std::vector<uint8_t> block = BoltBlock();
         return b.Create(&block, "Colour=red");
     },
     1, NoText, kNewPart},
    {"Param_MalformedItems", "malformed items: ShowMessages|=1||LanguageId=abc|ShowMessages=yes",
     [](CBadInputBed& b)
     {
         std::vector<uint8_t> block = BoltBlock();
         return b.Create(&block, "ShowMessages|=1||LanguageId=abc|ShowMessages=yes");
     },
     1, NoText, kNewPart},
    {"Param_100000Characters", "100,000 characters",
     [](CBadInputBed& b)
     {
         std::vector<uint8_t> block = BoltBlock();
         return b.Create(&block, ("Note=" + Repeated('n', 99995)).c_str());
     },
     1, NoText, kNewPart},
    {"Direct_Name300", "a name of 300 characters in a 512-byte buffer",
     [](CBadInputBed& b) { return b.DirectFile(b.DirectDir() + Repeated('n', 290), 512); }, 0,
     NoText, kNothing},
    {"Direct_NoTerminator", "no NUL within the buffer size (the buffer ends at unreadable memory)",
     [](CBadInputBed& b) { return b.DirectFileWithoutTerminator(); }, 0, NoText, kNothing},
    {"Direct_ReservedCharacters", "reserved characters: bo<l>t",
     [](CBadInputBed& b) { return b.DirectFile(b.DirectDir() + "bo<l>t", 260); }, 0, NoText,
     kNothing},
    {"Direct_DeviceWithColon", "a device with a colon: NUL:",
     [](CBadInputBed& b) { return b.DirectFile(b.DirectDir() + "NUL:", 260); }, 0, NoText,
     kNothing},
    {"Direct_MissingFolder", "a folder that does not exist",
     [](CBadInputBed& b) { return b.DirectFile(b.DirectDir() + "missing\\bolt", 260); }, 0, NoText,
     kNothing},
    {"Library_QelMainMissing", "QelMain.dll missing",
     [](CBadInputBed& b) { return b.HostCreate({"QelSatWr.dll"}); }, 0,
     [](const CBadInputBed&) { return DllErrorText("QelMain.dll", 126); }, kNothing},
    {"Library_QelMainWithoutGetHWnd", "QelMain.dll without QelVar_OnChange_GetHWnd",
     [](CBadInputBed& b) {
         return b.HostCreate({"QelSatWr.dll", "variants/qelmain-no-gethwnd/QelMain.dll"});
     },
     0,
     [](const CBadInputBed&)
     { return FunctionErrorText("QelVar_OnChange_GetHWnd", "QelMain.dll"); },
     kNothing},
    {"Library_QelSatWrMissing",
     "QelSatWr.dll missing",
     [](CBadInputBed& b) { return b.HostCreate({"QelMain.dll"}); },
     0,
     [](const CBadInputBed&) { return DllErrorText("QelSatWr.dll", 126); },
     {kLockFile}},
    {"Library_QelSatWrWithoutCreateSatFile",
     "QelSatWr.dll without QelSatWriter_CreateSatFile",
     [](CBadInputBed& b) {
         return b.HostCreate({"QelMain.dll", "variants/qelsatwr-no-createsatfile/QelSatWr.dll"});
     },
     0,
     [](const CBadInputBed&)
     { return FunctionErrorText("QelSatWriter_CreateSatFile", "QelSatWr.dll"); },
     {kLockFile}},
    {"Dir_Cp932WithoutBackslash", "dirs\\<95 5C> without trailing backslash: all files inside it",
     [](CBadInputBed& b) { return b.CreateBelowDirs(kHyo, kHyo); }, 1, NoText, kNewPart, kCp932},
    {"Dir_Cp932WithBackslash", "dirs\\<95 5C>\\ with trailing backslash: the same files",
     [](CBadInputBed& b) { return b.CreateBelowDirs(kHyo + "\\", kHyo); }, 1, NoText, kNewPart,
     kCp932},
    {"Dir_Cp932TwoNewLevels", "dirs\\<83 5C>\\<95 5C>, two new levels: created",
     [](CBadInputBed& b) { return b.CreateBelowDirs(kSo + "\\" + kHyo, kSo + "\\" + kHyo); }, 1,
     NoText, kNewPart, kCp932},
    {"Chooser_Cp932Typed",
     "dirs\\<95 5C> typed: returned with its backslash",
     [](CBadInputBed& b)
     {
         b.Folder().MakeDir("dirs");
         b.Folder().MakeDir("dirs\\" + kHyo);
         return b.Choose("dirs\\" + kHyo);
     },
     1,
     NoText,
     {"PartPath=dirs\\" + kHyo + "\\"},
     kCp932},
    {"Chooser_Cp932NewFolder",
     "new folder dirs\\<83 7C 83 93 83 76> typed: created and returned",
     [](CBadInputBed& b)
     {
         b.Folder().MakeDir("dirs");
         return b.Choose("dirs\\" + kPump, IDOK);
     },
     1,
     [](const CBadInputBed& b)
     { return "Directory " + b.Folder().PathOf("dirs\\" + kPump) + " not found !.\nCreate ?"; },
     {"PartPath=dirs\\" + kPump + "\\"},
     kCp932},
    {"Chooser_Cp932Bar",
     "dirs\\<83 7C>|x typed: a real bar is still refused",
     [](CBadInputBed& b) { return b.Choose("dirs\\\x83\x7C|x", IDCANCEL); },
     1,
     [](const CBadInputBed& b)
     { return b.Folder().PathOf("dirs\\\x83\x7C|x") + " is not a valid pathname !"; },
     {"PartPath=parts\\"},
     kCp932},
    {"Text_Cp932SoAndDa",
     "<83 5C>... / M8, then <83 5F>... / M8: two files, two imports",
     [](CBadInputBed& b) {
         return CreateInTurn(b, {{kSoketto, "M8"}, {kDaketto, "M8"}});
     },
     2,
     NoText,
     {kLockFile, "TempSW.sat", kSoketto + "_M8.SLDPRT", kDaketto + "_M8.SLDPRT", "2 imports"},
     kCp932},
    {"Text_Cp932LoneLeadBytes",
     "values ending in a lone lead byte: ABC<81>, then M6<81> / DIN; each twice",
     [](CBadInputBed& b) {
         return CreateInTurn(b, {{"ABC\x81"}, {"M6\x81", "DIN"}, {"ABC\x81"}, {"M6\x81", "DIN"}});
     },
     4,
     NoText,
     {"ABC.SLDPRT", "M6_DIN.SLDPRT", kLockFile, "TempSW.sat", "2 imports"},
     kCp932},
};

// A table cell: the bars of the texts must not end the cell.
std::string Cell(const std::string& text)
{
    std::string cell;
    for (char c : text)
        cell += c == '|' ? std::string("\\|") : std::string(1, c);
    return cell;
}

std::string Describe(const Outcome& outcome)
{
    std::string text = "returns " + std::to_string(outcome.result);
    text += outcome.text.empty() ? ", no error text" : ", \"" + EscapeText(outcome.text) + "\"";
    text += "; left: ";
    if (outcome.files.empty())
        return text + "nothing";
    for (std::size_t i = 0; i < outcome.files.size(); ++i)
        text += (i > 0 ? ", " : "") + outcome.files[i];
    return text;
}

class BadInputTest : public testing::TestWithParam<BadInputRow>
{
protected:
    static void SetUpTestSuite() { s_simulator = new swsim::CSimulatorClient(); }
    static void TearDownTestSuite()
    {
        WriteFileText(BinFolder() + "\\bad-input-catalogue-" +
                          std::to_string(GetUserDefaultLangID()) + ".md",
                      s_table);
        delete s_simulator;
        s_simulator = nullptr;
    }
    static inline swsim::CSimulatorClient* s_simulator = nullptr;
    static inline std::string s_table = "| row | wrong input | outcome |\n|---|---|---|\n";
};

TEST_P(BadInputTest, GivesItsOutcomeAndKeepsNoReference)
{
    const BadInputRow& row = GetParam();
    // The Japanese run must have its code page, or its rows would be passed over.
    const char* locale = std::getenv("LC_ALL");
    if (locale != nullptr && std::strncmp(locale, "ja_JP", 5) == 0)
        ASSERT_EQ(932u, GetACP()) << "the ja_JP run did not get code page 932";
    if (row.needs != nullptr && !(row.needs == kWine ? RunningOnWine() : GetACP() == 932))
        GTEST_SKIP() << "needs " << row.needs;
    CBadInputBed bed(*s_simulator);
    Outcome outcome = row.run(bed);

    EXPECT_EQ(row.result, outcome.result);
    EXPECT_EQ(row.text(bed), outcome.text);
    EXPECT_THAT(outcome.files, ElementsAreArray(row.files));
    EXPECT_EQ(0, s_simulator->OutstandingReferences());
    s_table +=
        "| " + Cell(row.name) + " | " + Cell(row.input) + " | " + Cell(Describe(outcome)) + " |\n";
}

INSTANTIATE_TEST_SUITE_P(Rows, BadInputTest, testing::ValuesIn(kRows),
                         [](const testing::TestParamInfo<BadInputRow>& info)
                         { return std::string(info.param.name); });

} // namespace
} // namespace qel::test
