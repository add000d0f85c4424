#include "platform/base/Drives.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::string normalizedRoot(std::string root)
{
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    return root;
}

// /proc/self/mounts escapes blanks and the like as \ooo.
std::string unescapeMountField(const std::string& field)
{
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string oct = field.substr(i + 1, 3);
            if (oct.size() == 3 &&
                std::all_of(oct.begin(), oct.end(), [](char c) { return c >= '0' && c <= '7'; })) {
                out.push_back(static_cast<char>(std::stoi(oct, nullptr, 8)));
                i += 3;
                continue;
            }
        }
        out.push_back(field[i]);
    }
    return out;
}

bool isRemovableMountPoint(const std::string& path)
{
    for (const char* base : {"/media", "/mnt", "/run/media"}) {
        const std::string prefix = base;
        if (path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0 &&
            path[prefix.size()] == '/')
            return true;
    }
    return false;
}

std::vector<DriveMapping> mapFromEnvironment(const char* text)
{
    std::vector<DriveMapping> map;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ';')) {
        if (item.size() < 3 || item[1] != '=' || item[2] != '/') continue;
        const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(item[0])));
        if (letter < 'A' || letter > 'Z') continue;
        const auto same = [letter](const DriveMapping& d) { return d.letter == letter; };
        map.erase(std::remove_if(map.begin(), map.end(), same), map.end());
        map.push_back({letter, normalizedRoot(item.substr(2))});
    }
    std::sort(map.begin(), map.end(),
              [](const DriveMapping& a, const DriveMapping& b) { return a.letter < b.letter; });
    return map;
}

std::vector<DriveMapping> mapFromMounts()
{
    std::vector<std::string> points;
    std::ifstream mounts("/proc/self/mounts");
    std::string line;
    while (std::getline(mounts, line)) {
        std::istringstream fields(line);
        std::string device, point;
        if (!(fields >> device >> point)) continue;
        point = normalizedRoot(unescapeMountField(point));
        if (isRemovableMountPoint(point)) points.push_back(point);
    }
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    std::vector<DriveMapping> map{{'C', "/"}};
    char letter = 'D';
    for (const std::string& point : points) {
        if (letter > 'Z') break;
        map.push_back({letter++, point});
    }
    return map;
}

std::vector<DriveMapping>& currentMap()
{
    static std::vector<DriveMapping> map = [] {
        const char* drives = std::getenv("QUILLET_DRIVES");
        return drives && *drives ? mapFromEnvironment(drives) : mapFromMounts();
    }();
    return map;
}

bool isSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool isPosixSeparator(char c)
{
    return c == '/';
}

// Splits text from index from into elements at the separators that
// separator() accepts.
template <class Separator>
void addElements(std::vector<std::string>& elements, const std::string& text, size_t from,
                 Separator separator)
{
    size_t i = from;
    while (i < text.size()) {
        while (i < text.size() && separator(text[i])) ++i;
        size_t end = i;
        while (end < text.size() && !separator(text[end])) ++end;
        if (end > i) {
            const std::string element = text.substr(i, end - i);
            if (element == "..") {
                if (!elements.empty()) elements.pop_back();
            } else if (element != ".") {
                elements.push_back(element);
            }
        }
        i = end;
    }
}

// Whether root covers path (equal, or path continues below it).
bool covers(const std::string& root, const std::string& path)
{
    if (root == "/") return !path.empty() && path[0] == '/';
    return path.compare(0, root.size(), root) == 0 &&
           (path.size() == root.size() || path[root.size()] == '/');
}

}  // namespace

const std::vector<DriveMapping>& DriveMap()
{
    return currentMap();
}

void ReloadDriveMap()
{
    const char* drives = std::getenv("QUILLET_DRIVES");
    currentMap() = drives && *drives ? mapFromEnvironment(drives) : mapFromMounts();
}

const DriveMapping* FindDrive(char letter)
{
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    for (const DriveMapping& drive : currentMap())
        if (drive.letter == upper) return &drive;
    return nullptr;
}

std::optional<DrivePath> SplitDrivePath(const AnsiString& path)
{
    if (path.size() < 2 || path[1] != ':' || (path.size() > 2 && !isSeparator(path[2])))
        return std::nullopt;
    const DriveMapping* drive = FindDrive(path[0]);
    if (!drive) return std::nullopt;
    DrivePath result{drive, {}};
    addElements(result.elements, path, 2, isSeparator);
    return result;
}

std::optional<std::vector<std::string>> PosixElementsBelow(const std::string& root,
                                                           const std::string& path)
{
    if (path.empty() || path[0] != '/') return std::nullopt;
    std::vector<std::string> elements;
    addElements(elements, path, 0, isPosixSeparator);
    const std::string normal = JoinPosixPath("/", elements);
    const std::string base = normalizedRoot(root);
    if (!covers(base, normal)) return std::nullopt;
    std::vector<std::string> below;
    addElements(below, normal, base == "/" ? 0 : base.size(), isPosixSeparator);
    return below;
}

std::optional<DrivePath> SplitPosixPath(const std::string& path)
{
    const DriveMapping* best = nullptr;
    std::vector<std::string> elements;
    for (const DriveMapping& drive : currentMap()) {
        if (best && drive.root.size() <= best->root.size()) continue;
        if (auto below = PosixElementsBelow(drive.root, path)) {
            best = &drive;
            elements = std::move(*below);
        }
    }
    if (!best) return std::nullopt;
    return DrivePath{best, std::move(elements)};
}

std::string JoinPosixPath(const std::string& root, const std::vector<std::string>& elements)
{
    std::string path = root;
    for (const std::string& element : elements) {
        if (path.empty() || path.back() != '/') path.push_back('/');
        path += element;
    }
    return path;
}

std::optional<std::string> NamespaceToPosixPath(const AnsiString& path)
{
    if (!path.empty() && path[0] == '/') return path;
    const auto split = SplitDrivePath(path);
    if (!split) return std::nullopt;
    return JoinPosixPath(split->drive->root, split->elements);
}

std::optional<AnsiString> PosixToNamespacePath(const std::string& path)
{
    const auto split = SplitPosixPath(path);
    if (!split) return std::nullopt;
    return DriveForm(split->drive->letter, split->elements);
}

std::optional<AnsiString> DriveForm(char letter, const std::vector<std::string>& elements)
{
    AnsiString text{letter, ':'};
    if (elements.empty()) text.push_back('\\');
    for (const std::string& element : elements) {
        // A backslash in a name would read back as a separator.
        if (element.find('\\') != std::string::npos) return std::nullopt;
        text += "\\" + element;
    }
    return text;
}
