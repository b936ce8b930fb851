// Points the process's temporary directory (TMP and TEMP) elsewhere and puts
// the old values back when the object goes.
#pragma once

#include <string>

class CTempVariables
{
public:
    explicit CTempVariables(const std::string& directory);
    CTempVariables(const CTempVariables&) = delete;
    CTempVariables& operator=(const CTempVariables&) = delete;
    ~CTempVariables();

private:
    struct Saved
    {
        const char* name;
        bool present;
        std::string value;
    };
    static Saved Save(const char* name);
    static void Restore(const Saved& saved);

    Saved m_tmp;
    Saved m_temp;
};
