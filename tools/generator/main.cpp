// volleen-generate FOLDER: writes every picture and sound of the game into
// FOLDER (which must exist). The same bytes on every run; keys.dat is never
// touched.
#include <cstdio>
#include <string>

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
    if (argc != 2) {
        std::fprintf(stderr, "usage: volleen-generate FOLDER\n");
        return 2;
    }
    std::string folder = argv[1];
    std::string error;
    headless::Configure({}, &error);
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
