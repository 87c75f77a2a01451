// volleen-generate FOLDER: writes every picture and sound of the game into
// FOLDER (which must exist). The same bytes on every run; keys.dat is never
// touched.
//
// volleen-generate --court-picture DATA COURT MODE OUT.bmp: the first match
// frame on background COURT (0 to 5), drawn by the game from DATA.
//
// volleen-generate --icons FOLDER: the desktop icon at every usual size, as
// the hicolor theme folder FOLDER (which is made when missing).
#include <cstdio>
#include <cstring>
#include <string>

#include "common/parse_integer.h"
#include "court_picture.h"
#include "generator.h"
#include "palette_builder.h"
#include "platform/common/text_raster.h"
#include "platform/headless/headless.h"

namespace gen {
std::string InFolder(const std::string& folder, const char* name) {
    if (folder.empty() || folder.back() == '/') return folder + name;
    return folder + "/" + name;
}
}  // namespace gen

int main(int argc, char** argv) {
    std::string error;
    headless::Configure({}, &error);
    int64_t court = 0;
    int64_t mode = 0;
    if (argc == 6 && std::strcmp(argv[1], "--court-picture") == 0 &&
        ParseInteger(argv[3], 0, 5, &court) && ParseInteger(argv[4], 1, 2, &mode)) {
        bool ok = gen::DrawCourtPicture(argv[2], static_cast<int>(court), static_cast<int>(mode),
                                        argv[5]);
        if (!ok) std::fprintf(stderr, "volleen-generate: could not draw the court picture\n");
        return ok ? 0 : 1;
    }
    if (argc == 3 && std::strcmp(argv[1], "--icons") == 0) {
        gen::BuildGamePalette();
        const bool ok = gen::WriteIconTheme(argv[2]);
        if (!ok) std::fprintf(stderr, "volleen-generate: could not write the icons\n");
        return ok ? 0 : 1;
    }
    if (argc != 2) {
        std::fprintf(stderr,
                     "usage: volleen-generate FOLDER\n"
                     "       volleen-generate --court-picture DATA COURT MODE OUT.bmp\n"
                     "       volleen-generate --icons FOLDER\n");
        return 2;
    }
    std::string folder = argv[1];
    gen::BuildGamePalette();

    struct Step {
        const char* what;
        bool (*write)(const std::string&);
    };
    const Step steps[] = {{"sprites", gen::WriteSprites}, {"courts", gen::WriteCourts},
                          {"title", gen::WriteTitle},     {"screens", gen::WriteScreens},
                          {"effects", gen::WriteEffects}, {"tunes", gen::WriteTunes}};
    int failures = 0;
    for (const Step& step : steps) {
        if (!step.write(folder)) {
            std::fprintf(stderr, "volleen-generate: could not write the %s into %s\n", step.what,
                         folder.c_str());
            ++failures;
        }
    }
    platform::text::Shutdown();
    return failures == 0 ? 0 : 1;
}
