// Making the folders a file is to be saved in.
#pragma once

#include <string>

// Makes every missing folder on the way to `file` (not the file itself) with
// `mode`; folders that exist are left as they are. False with the reason in
// `why` when one cannot be made.
bool MakeParentFolders(const std::string& file, unsigned mode, std::string* why);
