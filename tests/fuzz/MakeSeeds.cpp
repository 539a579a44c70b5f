// make_fuzz_seeds FOLDER: writes each fuzz target's seed corpus into FOLDER/<target>/.
#include "FuzzSeeds.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <map>
#include <string>

namespace {
std::map<std::string, SeedWriter>& Writers() {
    static std::map<std::string, SeedWriter> writers;
    return writers;
}
} // namespace

bool RegisterSeedWriter(const char* target, SeedWriter writer) {
    Writers()[target] = writer;
    return true;
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds FOLDER\n");
        return 2;
    }
    for (const auto& [target, writer] : Writers()) {
        const QString folder = QDir(QString::fromLocal8Bit(argv[1])).filePath(QString::fromStdString(target));
        QDir().mkpath(folder);
        writer(folder);
    }
    return 0;
}
