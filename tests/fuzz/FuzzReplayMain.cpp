// The driver of a fuzz target built without libFuzzer: runs the target once on each input named
// on the command line, as libFuzzer does with -runs=0. A folder stands for the files in it (and
// below); arguments starting with "-" are libFuzzer options and are ignored. Used by CTest to
// replay the corpora and reproducers in every build, sanitised or not.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool runFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    // Every name is resolved before the first input runs: the targets change the working folder.
    std::vector<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind('-', 0) == 0)
            continue;
        const std::filesystem::path path = std::filesystem::absolute(arg);
        if (std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) {
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            }
        } else {
            files.push_back(path);
        }
    }
    for (const auto& file : files) {
        if (!runFile(file)) {
            std::fprintf(stderr, "cannot read %s\n", file.c_str());
            return 2;
        }
    }
    std::printf("%zu inputs run\n", files.size());
    return files.empty() ? 1 : 0;
}
