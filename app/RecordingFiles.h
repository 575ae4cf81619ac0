#pragma once

#include <QString>
#include <cstdint>
#include <filesystem>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <utility>

namespace nuvisca {

// The path as the file system spells it (names need not be valid UTF-8).
std::filesystem::path toFileSystemPath(const QString& path);

// "csv" or "CSV", compared exactly.
bool hasCsvExtension(const QString& path);

// The action's result, or fallback when it runs out of memory or asks for more than any
// container holds: what a file holds must never end the program.
template <typename Action, typename Result = std::invoke_result_t<Action>>
Result unlessExhausted(Result fallback, Action&& action) {
    try {
        return std::forward<Action>(action)();
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    return fallback;
}

}  // namespace nuvisca
