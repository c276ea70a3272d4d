#pragma once

#include <QByteArrayView>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

// What was made of each distinct cell, by its bytes: a file names the same few funds,
// accounts and trades on row after row. Holds at most kMaxEntries.
template <class Value>
class CellCache {
public:
    static constexpr std::size_t kMaxEntries = 4096;

    template <class Make>
    const Value& get(QByteArrayView bytes, Make&& make)
    {
        const std::string_view key(bytes.data(), static_cast<std::size_t>(bytes.size()));
        const auto found = entries_.find(key);
        if (found != entries_.end())
            return found->second;
        if (entries_.size() >= kMaxEntries)
            entries_.clear();
        return entries_.emplace(std::string(key), make()).first->second;
    }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view key) const { return std::hash<std::string_view>()(key); }
    };
    std::unordered_map<std::string, Value, Hash, std::equal_to<>> entries_;
};
