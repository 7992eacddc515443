#pragma once
// Ways of handing a fuzzer's bytes to the readers: as an open file, as a
// NUL-terminated text, as numbers, and as a pipe that delivers them in
// chunks of sizes the input chooses.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "PipeFormat.h"

namespace fuzz {

// The bytes as a file open for reading; closed when this goes.
class MemoryFile {
public:
    MemoryFile(const uint8_t* data, size_t size)
        : m_bytes(reinterpret_cast<const char*>(data), size),
          // fmemopen refuses an empty buffer on some C libraries; one NUL is
          // an empty text file all the same for a line reader.
          m_file(fmemopen(m_bytes.empty() ? const_cast<char*>("") : &m_bytes[0], m_bytes.empty() ? 1 : size, "r")) {}
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;
    ~MemoryFile() {
        if (m_file) std::fclose(m_file);
    }
    FILE* Get() const { return m_file; }

private:
    std::string m_bytes;
    FILE* m_file;
};

// A file that swallows what a writer gives it.
class NullFile {
public:
    NullFile() : m_file(std::fopen("/dev/null", "w")) {}
    NullFile(const NullFile&) = delete;
    NullFile& operator=(const NullFile&) = delete;
    ~NullFile() {
        if (m_file) std::fclose(m_file);
    }
    FILE* Get() const { return m_file; }

private:
    FILE* m_file;
};

// Takes values from the front of the input; what is left is the payload.
class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    uint8_t Byte() { return m_size ? (--m_size, *m_data++) : 0; }
    uint32_t Word() {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value = value << 8 | Byte();
        return value;
    }
    int32_t Int() { return static_cast<int32_t>(Word()); }
    double Double() {
        uint64_t bits = static_cast<uint64_t>(Word()) << 32 | Word();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    std::string Text() const { return std::string(reinterpret_cast<const char*>(m_data), m_size); }
    const uint8_t* Data() const { return m_data; }
    size_t Size() const { return m_size; }

private:
    const uint8_t* m_data;
    size_t m_size;
};

// A pipe that hands over the payload in chunks: the input's first byte says
// how many chunk sizes follow (up to 15), each 1 to 256 bytes, used in turn.
class ChunkedSource : public qv::ByteSource {
public:
    ChunkedSource(const uint8_t* data, size_t size) {
        Bytes in(data, size);
        m_sizeCount = in.Byte() % 16;
        for (size_t i = 0; i < m_sizeCount; ++i) m_sizes[i] = in.Byte() + 1u;
        m_data = in.Data();
        m_left = in.Size();
    }
    size_t ReadSome(void* buffer, size_t size) override {
        size_t n = size < m_left ? size : m_left;
        if (m_sizeCount) {
            const size_t chunk = m_sizes[m_next++ % m_sizeCount];
            if (n > chunk) n = chunk;
        }
        if (n) std::memcpy(buffer, m_data, n);
        m_data += n;
        m_left -= n;
        return n;
    }

private:
    size_t m_sizes[15] = {};
    size_t m_sizeCount = 0;
    size_t m_next = 0;
    const uint8_t* m_data;
    size_t m_left;
};

}  // namespace fuzz
