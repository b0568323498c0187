#pragma once
// Shared by the fuzz targets: a scratch file for the targets that read files, and a check
// that stops the run with a message (libFuzzer then keeps the input that broke it).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace stallmark::fuzz {

// Stops the run when a property does not hold.
inline void Check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A folder of this process for scratch files: $TMPDIR (the runs put it on a memory file
// system) or /tmp.
inline const std::string& ScratchFolder() {
    static const std::string folder = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string base = tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp";
        if (base.back() != '/') base.push_back('/');
#ifndef _WIN32
        return base + "stallmark-fuzz-" + std::to_string(::getpid()) + "-";
#else
        return base + "stallmark-fuzz-";
#endif
    }();
    return folder;
}

// The path of a scratch file holding bytes.
inline std::string WriteScratch(const std::string& name, std::string_view bytes) {
    const std::string path = ScratchFolder() + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    Check(f != nullptr, "cannot create the scratch file");
    Check(std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size(), "cannot write the scratch file");
    std::fclose(f);
    return path;
}

}  // namespace stallmark::fuzz
