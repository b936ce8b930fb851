#include "TempVariables.h"

#include <windows.h>

CTempVariables::CTempVariables(const std::string& directory)
    : m_tmp(Save("TMP")), m_temp(Save("TEMP"))
{
    SetEnvironmentVariableA("TMP", directory.c_str());
    SetEnvironmentVariableA("TEMP", directory.c_str());
}

CTempVariables::~CTempVariables()
{
    Restore(m_temp);
    Restore(m_tmp);
}

CTempVariables::Saved CTempVariables::Save(const char* name)
{
    char value[32768];
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    bool present = length > 0 && length < sizeof value;
    return Saved{name, present, present ? std::string(value, length) : std::string()};
}

void CTempVariables::Restore(const Saved& saved)
{
    SetEnvironmentVariableA(saved.name, saved.present ? saved.value.c_str() : nullptr);
}
