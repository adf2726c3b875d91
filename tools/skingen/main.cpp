// quillmar_skingen OUTPUT_DIR [--version X.Y.Z] [--preview FILE.png]
// Writes OUTPUT_DIR/Skins and OUTPUT_DIR/Help; with --preview also a picture
// of the main window as it first shows.
#include "ColourSchemeTemplate.h"
#include "HelpGuide.h"
#include "LanguageTexts.h"
#include "LightingBitmaps.h"
#include "OutputFiles.h"
#include "SkinPictures.h"
#include "TrayIcons.h"

#include <QGuiApplication>

#include <cstdio>
#include <exception>
#include <string>

namespace {

struct Arguments {
    std::string output;
    std::string version = "0.0.0";
    std::string preview;
};

bool parse(int argc, char** argv, Arguments& arguments) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if ((argument == "--version" || argument == "--preview") && i + 1 < argc)
            (argument == "--version" ? arguments.version : arguments.preview) = argv[++i];
        else if (arguments.output.empty() && argument.rfind("--", 0) != 0)
            arguments.output = argument;
        else
            return false;
    }
    return !arguments.output.empty();
}

}  // namespace

int main(int argc, char** argv) {
    Arguments arguments;
    if (!parse(argc, argv, arguments)) {
        std::fprintf(stderr, "usage: quillmar_skingen OUTPUT_DIR [--version X.Y.Z] [--preview FILE.png]\n");
        return 2;
    }
    QGuiApplication application(argc, argv);
    using namespace quillmar::skingen;
    try {
        const OutputFolder out(arguments.output);
        const MainWindowLayout main = mainWindowLayout();
        writeMainWindowSkin(out, main);
        writeCompositeDialogSkin(out, compositeDialogLayout());
        writeProfileDialogSkin(out, profileDialogLayout());
        writeLightingBitmaps(out);
        writeTrayIcons(out);
        out.writeText("Skins/language.ini", languageFile(arguments.version));
        out.writeText("Skins/UserDengColor_3.userd", colourSchemeTemplate());
        out.writeText("Help/index.html", helpGuide(arguments.version));
        if (!arguments.preview.empty() && !mainWindowPreview(main, out.root() / "Skins").save(QString::fromStdString(arguments.preview)))
            throw std::runtime_error("cannot write " + arguments.preview);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quillmar_skingen: %s\n", error.what());
        return 1;
    }
    return 0;
}
