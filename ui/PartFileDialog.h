// The system's Save dialog for part files: save kind, only the read-only box
// hidden (no overwrite prompt, no existence test), one filter for SolidWorks
// parts and assemblies, owned by the host's active window.
#pragma once

#include "ui/IPartFileDialog.h"

namespace qel
{

class CPartFileDialog : public IPartFileDialog
{
public:
    bool Choose(const char* initialDirectory, const char* title, char* path,
                std::size_t pathSize) override;
};

} // namespace qel
