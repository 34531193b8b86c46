// zorban-soundgen: synthesises every sound cue of the game and writes them as
// 16-bit mono WAV files into the sound folder.
//
//   zorban-soundgen [--out DIR] [--catalogue]
//
// --out        where to write the cues (default: src/sound/cues)
// --catalogue  print the catalogue as a Markdown table

#include "Synth.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

#include <cstdlib>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Synthesises the sound cues of the game."));
    parser.addHelpOption();
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("Output folder."),
                                 QStringLiteral("dir"), QStringLiteral("src/sound/cues"));
    const QCommandLineOption catalogue(QStringLiteral("catalogue"),
                                       QStringLiteral("Print the catalogue as Markdown."));
    parser.addOptions({out, catalogue});
    parser.process(app);

    QTextStream cout(stdout);
    QTextStream err(stderr);
    const std::vector<Synth::CueRecipe> list = Synth::Catalogue();
    if (parser.isSet(catalogue)) {
        cout << "| cue | file | seconds | when |\n|---|---|---|---|\n";
        for (const Synth::CueRecipe &cue : list)
            cout << "| `" << cue.name << "` | `cues/" << cue.name << ".wav` | "
                 << QString::number(double(cue.render().size()) / Synth::SampleRate, 'f', 2) << " | "
                 << cue.role << " |\n";
        return 0;
    }
    const QString dir = parser.value(out);
    QDir().mkpath(dir);
    int failures = 0;
    for (const Synth::CueRecipe &cue : list) {
        const QByteArray bytes = Synth::EncodeWav(cue.render());
        QFile file(dir + QLatin1Char('/') + cue.name + QStringLiteral(".wav"));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            err << "cannot write " << file.fileName() << "\n";
            ++failures;
        }
    }
    err << list.size() << " cues, " << failures << " failures\n";
    return failures == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
