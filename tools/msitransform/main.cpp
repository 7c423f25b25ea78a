// Build-time tool for the carried package's language transforms:
//   msitransform generate <base.msi> <localised.msi> <codepage> <out.mst>
//   msitransform embed <package.msi> <out.msi> <langid>=<transform.mst>...
#include <fstream>
#include <iostream>
#include <iterator>

#include "CompoundFile.h"
#include "InstallerDatabase.h"
#include "PackageEmbedder.h"
#include "TeguError.h"
#include "TransformBuilder.h"

namespace {

// Checks the installer makes before applying: the product code and the
// upgrade code of the package must be those the transform was made from.
constexpr std::uint32_t kValidateProduct = 0x0002;
constexpr std::uint32_t kValidateUpgradeCode = 0x0800;

cfb::Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) JP_THROW_MSG("cannot open " + path);
    return cfb::Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const cfb::Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) JP_THROW_MSG("cannot write " + path);
}

unsigned number(const std::string& text, const std::string& what) {
    std::size_t used = 0;
    const unsigned long value = std::stoul(text, &used);
    if (used != text.size() || value > 0xFFFF) JP_THROW_MSG("bad " + what + ": " + text);
    return unsigned(value);
}

void generate(const std::string& base, const std::string& localised, const std::string& codepage,
              const std::string& out) {
    const msidb::Database baseDb(cfb::read(readFile(base)));
    const msidb::Database targetDb(cfb::read(readFile(localised)));
    transform::Options options;
    options.codepage = number(codepage, "code page");
    options.validation = kValidateProduct | kValidateUpgradeCode;
    writeFile(out, cfb::write(transform::build(baseDb, targetDb, options)));
}

void embed(const std::string& package, const std::string& out, int count, char** pairs) {
    std::vector<embedding::Transform> transforms;
    for (int i = 0; i < count; ++i) {
        const std::string pair = pairs[i];
        const std::size_t eq = pair.find('=');
        if (eq == std::string::npos) JP_THROW_MSG("expected <langid>=<transform.mst>, got " + pair);
        transforms.push_back({number(pair.substr(0, eq), "language id"),
                              cfb::read(readFile(pair.substr(eq + 1)))});
    }
    writeFile(out, cfb::write(embedding::embed(cfb::read(readFile(package)), transforms)));
}

} // namespace

int main(int argc, char** argv) {
    try {
        const std::string command = argc > 1 ? argv[1] : "";
        if (command == "generate" && argc == 6) {
            generate(argv[2], argv[3], argv[4], argv[5]);
        } else if (command == "embed" && argc >= 4) {
            embed(argv[2], argv[3], argc - 4, argv + 4);
        } else {
            std::cerr << "usage: msitransform generate <base.msi> <localised.msi> <codepage> <out.mst>\n"
                         "       msitransform embed <package.msi> <out.msi> <langid>=<transform.mst>...\n";
            return 2;
        }
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "msitransform: " << e.what() << "\n";
        return 1;
    }
}
