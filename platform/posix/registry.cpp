// An in-memory registry with the semantics of the calls the codec makes.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include "platform/posix/test_hooks.h"
#include "platform/posix/win_api.h"

struct HKEY__ {
    ULONG_PTR root;
    std::string path;  // lower case, backslash separated
    REGSAM access;
};

namespace {

struct Key {
    std::string key_class;
    std::map<std::string, platform_test::RegistryValueData> values;  // lower-case names
};

struct Registry {
    std::mutex mutex;
    std::map<std::pair<ULONG_PTR, std::string>, Key> keys;
    bool fail_create = false;
    int open_handles = 0;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

std::string Lower(const std::string& s) {
    std::string out = s;
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return out;
}

bool IsRoot(HKEY key) {
    auto v = ULONG_PTR(key);
    return v == ULONG_PTR(HKEY_CLASSES_ROOT) || v == ULONG_PTR(HKEY_CURRENT_USER) ||
           v == ULONG_PTR(HKEY_LOCAL_MACHINE);
}

// Resolves a parent handle plus relative path to (root, full path).
bool Resolve(HKEY parent, LPCSTR sub, std::pair<ULONG_PTR, std::string>* out) {
    if (parent == nullptr) return false;
    std::string base;
    ULONG_PTR root;
    if (IsRoot(parent)) {
        root = ULONG_PTR(parent);
    } else {
        root = parent->root;
        base = parent->path;
    }
    std::string rel = sub ? Lower(sub) : std::string();
    while (!rel.empty() && rel.front() == '\\') rel.erase(rel.begin());
    while (!rel.empty() && rel.back() == '\\') rel.pop_back();
    std::string full = base;
    if (!rel.empty()) full = full.empty() ? rel : full + "\\" + rel;
    *out = {root, full};
    return true;
}

HKEY NewHandle(const std::pair<ULONG_PTR, std::string>& id, REGSAM access) {
    ++TheRegistry().open_handles;
    return new HKEY__{id.first, id.second, access};
}

Key* Find(const std::pair<ULONG_PTR, std::string>& id) {
    auto& keys = TheRegistry().keys;
    auto it = keys.find(id);
    return it == keys.end() ? nullptr : &it->second;
}

}  // namespace

LSTATUS RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    std::pair<ULONG_PTR, std::string> id;
    if (!phkResult || !Resolve(hKey, lpSubKey, &id)) return ERROR_INVALID_HANDLE;
    if (!id.second.empty() && !Find(id)) return ERROR_FILE_NOT_FOUND;
    *phkResult = NewHandle(id, samDesired);
    return ERROR_SUCCESS;
}

LSTATUS RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, LPSTR lpClass, DWORD, REGSAM samDesired,
                        LPSECURITY_ATTRIBUTES, PHKEY phkResult, LPDWORD lpdwDisposition) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    std::pair<ULONG_PTR, std::string> id;
    if (!phkResult || !Resolve(hKey, lpSubKey, &id)) return ERROR_INVALID_HANDLE;
    if (r.fail_create) return ERROR_ACCESS_DENIED;
    bool existed = Find(id) != nullptr;
    if (!existed) {
        // Create every missing level, as the real registry does.
        std::string path;
        size_t start = 0;
        while (start <= id.second.size()) {
            size_t end = id.second.find('\\', start);
            if (end == std::string::npos) end = id.second.size();
            path = id.second.substr(0, end);
            r.keys.try_emplace({id.first, path});
            start = end + 1;
        }
        r.keys[id].key_class = lpClass ? lpClass : "";
    }
    if (lpdwDisposition) *lpdwDisposition = existed ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
    *phkResult = NewHandle(id, samDesired);
    return ERROR_SUCCESS;
}

LSTATUS RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData,
                         LPDWORD lpcbData) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    if (hKey == nullptr || IsRoot(hKey)) return ERROR_INVALID_HANDLE;
    if ((hKey->access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
    Key* key = Find({hKey->root, hKey->path});
    if (!key) return ERROR_FILE_NOT_FOUND;
    auto it = key->values.find(Lower(lpValueName ? lpValueName : ""));
    if (it == key->values.end()) return ERROR_FILE_NOT_FOUND;
    const auto& value = it->second;
    if (lpType) *lpType = value.type;
    DWORD size = DWORD(value.data.size());
    if (lpData) {
        if (!lpcbData) return ERROR_INVALID_PARAMETER;
        if (*lpcbData < size) {
            *lpcbData = size;
            return ERROR_MORE_DATA;
        }
        if (size) std::memcpy(lpData, value.data.data(), size);
    }
    if (lpcbData) *lpcbData = size;
    return ERROR_SUCCESS;
}

LSTATUS RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData, DWORD cbData) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    if (hKey == nullptr || IsRoot(hKey)) return ERROR_INVALID_HANDLE;
    if ((hKey->access & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
    Key* key = Find({hKey->root, hKey->path});
    if (!key) return ERROR_FILE_NOT_FOUND;
    const std::string name = lpValueName ? lpValueName : "";
    auto& value = key->values[Lower(name)];
    if (value.name.empty()) value.name = name;
    value.type = dwType;
    value.data.assign(lpData, lpData + cbData);
    return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY hKey) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    if (hKey == nullptr || IsRoot(hKey)) return ERROR_INVALID_HANDLE;
    --r.open_handles;
    delete hKey;
    return ERROR_SUCCESS;
}

namespace platform_test {

void ResetRegistry() {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.keys.clear();
    r.fail_create = false;
}

void FailKeyCreation(bool fail) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.fail_create = fail;
}

bool RegistryKeyExists(HKEY root, const std::string& path) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    return Find({ULONG_PTR(root), Lower(path)}) != nullptr;
}

std::string RegistryKeyClass(HKEY root, const std::string& path) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    Key* key = Find({ULONG_PTR(root), Lower(path)});
    return key ? key->key_class : std::string();
}

std::vector<std::string> RegistryValueNames(HKEY root, const std::string& path) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    std::vector<std::string> names;
    if (Key* key = Find({ULONG_PTR(root), Lower(path)}))
        for (const auto& entry : key->values) names.push_back(entry.second.name);
    return names;
}

bool ReadRegistryValue(HKEY root, const std::string& path, const std::string& name, RegistryValueData* out) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    Key* key = Find({ULONG_PTR(root), Lower(path)});
    if (!key) return false;
    auto it = key->values.find(Lower(name));
    if (it == key->values.end()) return false;
    *out = it->second;
    return true;
}

void WriteRegistryValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                        const std::vector<BYTE>& data) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name.c_str(), 0, type, data.data(), DWORD(data.size()));
    RegCloseKey(key);
}

void WriteRegistryDword(HKEY root, const std::string& path, const std::string& name, DWORD value) {
    std::vector<BYTE> data(4);
    std::memcpy(data.data(), &value, 4);
    WriteRegistryValue(root, path, name, REG_DWORD, data);
}

void WriteRegistryString(HKEY root, const std::string& path, const std::string& name, const std::string& value) {
    std::vector<BYTE> data(value.begin(), value.end());
    data.push_back(0);
    WriteRegistryValue(root, path, name, REG_SZ, data);
}

int OpenRegistryHandles() {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    return r.open_handles;
}

}  // namespace platform_test
