#include "tools/qelhost/HostCommandLine.h"

namespace qel::test
{

namespace
{

struct CommandShape
{
    const char* name;
    std::size_t argumentCount;
    bool callsExport;
};

const CommandShape kCommands[] = {
    {"QelCreate", 1, true},    {"QelCreate_2", 3, true},         {"QelOptions", 0, true},
    {"QelOptions_2", 1, true}, {"QelCreateDirectFile", 3, true}, {"QelCreateDirectFile_2", 4, true},
    {"make-part", 2, false},   {"show-part", 1, false},
};

const CommandShape* FindCommand(const std::string& name)
{
    for (const CommandShape& shape : kCommands)
    {
        if (name == shape.name)
            return &shape;
    }
    return nullptr;
}

} // namespace

bool CHostCommandLine::Parse(int argc, char** argv, std::string& error)
{
    int index = 1;
    for (; index < argc && std::string(argv[index]).rfind("--", 0) == 0; index += 2)
    {
        std::string option = argv[index];
        if (index + 1 >= argc)
        {
            error = option + " needs a path";
            return false;
        }
        if (option == "--plugin")
            m_pluginPath = argv[index + 1];
        else if (option == "--preload")
            m_preloads.push_back(argv[index + 1]);
        else
        {
            error = "unknown option " + option;
            return false;
        }
    }
    if (index >= argc)
    {
        error = "no command";
        return false;
    }
    m_command = argv[index];
    const CommandShape* shape = FindCommand(m_command);
    if (shape == nullptr)
    {
        error = "unknown command " + m_command;
        return false;
    }
    m_arguments.assign(argv + index + 1, argv + argc);
    if (m_arguments.size() != shape->argumentCount)
    {
        error = m_command + " takes " + std::to_string(shape->argumentCount) + " arguments";
        return false;
    }
    return true;
}

bool CHostCommandLine::IsExportCommand() const
{
    const CommandShape* shape = FindCommand(m_command);
    return shape != nullptr && shape->callsExport;
}

const char* CHostCommandLine::Usage()
{
    return "usage: qelhost [--plugin PATH] [--preload PATH]... COMMAND ARGUMENTS\n"
           "  QelCreate PARTFILE\n"
           "  QelCreate_2 PARTFILE PARAMS ERRSIZE\n"
           "  QelOptions\n"
           "  QelOptions_2 PARAMS\n"
           "  QelCreateDirectFile PARTFILE FILENAME BUFSIZE\n"
           "  QelCreateDirectFile_2 PARTFILE PARAMS FILENAME BUFSIZE\n"
           "  make-part DESCRIPTION.txt OUT.qpb\n"
           "  show-part FILE.qpb\n"
           "PARTFILE and PARAMS may be 'null' for a null pointer, 'nowhere' for one to unmapped\n"
           "memory; ERRSIZE or BUFSIZE 0 passes a null buffer.\n"
           "Buffer texts are printed escaped: \\\\ for a backslash, \\n \\t \\r, \\xHH for any\n"
           "other byte outside printable ASCII.\n";
}

} // namespace qel::test
