// artgen: draws every still picture of Vokabron into resources/png,
// resources/png/flags and resources/jpeg, and the contact sheet.
//
//   artgen --resources DIR --font OldStandard-Bold.ttf --flags FLAG_SVG_DIR [--only FAMILY,...]

#include "art.h"

#include <QCommandLineParser>
#include <QGuiApplication>

#include <cstdio>
#include <exception>
#include <map>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QCommandLineParser cli;
    cli.addOption({"resources", "resources folder of the repository", "dir"});
    cli.addOption({"font", "Old Standard TT Bold font file", "file"});
    cli.addOption({"flags", "folder of 4x3 flag SVGs named by ISO code", "dir"});
    cli.addOption({"only", "comma-separated families to draw (for quick looks); no contact sheet", "list"});
    cli.process(app);
    if (!cli.isSet("resources") || !cli.isSet("font") || !cli.isSet("flags")) {
        std::fprintf(stderr, "usage: artgen --resources DIR --font FILE --flags DIR [--only LIST]\n");
        return 2;
    }
    if (!art::loadDisplayFont(cli.value("font"))) {
        std::fprintf(stderr, "cannot load font %s\n", qPrintable(cli.value("font")));
        return 1;
    }
    try {
        art::Sink sink(cli.value("resources"));
        const QString flagDir = cli.value("flags");
        const std::map<QString, std::function<void()>> families = {
            {"buttons", [&] { art::drawButtonFaces(sink); }},
            {"letters", [&] { art::drawLetterTiles(sink); }},
            {"board", [&] { art::drawBoard(sink); }},
            {"titles", [&] { art::drawTitles(sink); }},
            {"backgrounds", [&] { art::drawBackgrounds(sink); }},
            {"panels", [&] { art::drawPanels(sink); }},
            {"icons", [&] { art::drawIcons(sink); }},
            {"flags", [&] { art::drawFlags(sink, flagDir); }},
        };
        const QStringList order = {"buttons", "letters", "board", "titles", "backgrounds", "panels", "icons", "flags"};
        const QStringList only = cli.isSet("only") ? cli.value("only").split(',') : order;
        for (const QString& name : order)
            if (only.contains(name))
                families.at(name)();
        if (!cli.isSet("only")) {
            const QImage sheet = art::contactSheet(sink);
            if (!sheet.convertToFormat(QImage::Format_RGB32).save(sink.root() + "/contact_sheet.png", "PNG"))
                throw std::runtime_error("cannot write the contact sheet");
        }
        std::printf("%zu pictures written\n", sink.entries().size());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "artgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
