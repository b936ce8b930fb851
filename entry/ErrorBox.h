// The one way the plug-in shows an error text to the user.
#pragma once

namespace qel
{

// A topmost error box with a beep, captioned with the plug-in's file name;
// returns when the user has closed it.
void ShowErrorBox(const char* text);

} // namespace qel
