#include "workspace/file_io.h"

#include <cstdio>
#include <memory>
#include <system_error>

namespace zam {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

FileHandle OpenFile(const std::filesystem::path& path, bool write) {
#ifdef _WIN32
    return FileHandle(_wfopen(path.c_str(), write ? L"wb" : L"rb"));
#else
    return FileHandle(std::fopen(path.c_str(), write ? "wb" : "rb"));
#endif
}

std::filesystem::path TemporaryBeside(const std::filesystem::path& path) {
    static unsigned counter = 0;
    std::error_code error;
    for (;;) {
        auto candidate = path;
        candidate += ".zamenor-" + std::to_string(++counter) + ".tmp";
        if (!std::filesystem::exists(candidate, error)) return candidate;
    }
}

}  // namespace

ReadStatus ReadFileBytes(const std::filesystem::path& path, std::string& bytes) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return ReadStatus::CannotRead;
    FileHandle file = OpenFile(path, false);
    if (!file) return ReadStatus::CannotRead;
    std::string data;
    char buffer[65536];
    for (;;) {
        const size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
        data.append(buffer, got);
        if (data.size() > kMaxReadSize) return ReadStatus::TooLarge;
        if (got < sizeof buffer) break;
    }
    if (std::ferror(file.get())) return ReadStatus::CannotRead;
    bytes = std::move(data);
    return ReadStatus::Ok;
}

bool WriteFileReplacing(const std::filesystem::path& path, std::string_view bytes) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return false;
    const auto temporary = TemporaryBeside(path);
    bool written = false;
    if (FileHandle file = OpenFile(temporary, true)) {
        written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() &&
                  std::fflush(file.get()) == 0;
        written = std::fclose(file.release()) == 0 && written;
    } else {
        return false;
    }
    if (written) {
        std::filesystem::rename(temporary, path, error);
        written = !error;
    }
    if (!written) std::filesystem::remove(temporary, error);
    return written;
}

std::filesystem::path CurrentDirectory() {
    std::error_code error;
    std::filesystem::path dir = std::filesystem::current_path(error);
    return error ? std::filesystem::path() : dir;
}

}  // namespace zam
