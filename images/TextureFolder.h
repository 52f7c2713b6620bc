// Finding a model's texture images beside it. The model's folder is listed once, into an
// index of its names with ASCII letter case not told apart, however many materials look in it:
// a model in a Downloads folder of thousands of files opens at once.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The names in a folder (UTF-8), or nothing when it cannot be listed.
using FolderLister =
    std::function<std::optional<std::vector<std::string>>(const std::string& utf8Folder)>;

// Lists a folder through the file system.
std::optional<std::vector<std::string>> ListFolder(const std::string& utf8Folder);

class TextureFolder {
public:
    // The folder of `modelPath` (UTF-8), listed on the first lookup.
    explicit TextureFolder(const std::string& modelPath, FolderLister lister = ListFolder);

    // The UTF-8 path of the image `fileName` (as a 3DS material writes it), or empty when there
    // is none. 3DS files carry upper-case 8.3 names ("BRICK.JPG") for files that may be named
    // brick.jpg: a file of exactly that name comes first, else the folder's own spelling of a
    // name that differs only in ASCII letter case. Only the name's last component counts: a
    // folder written into the model never leads the search elsewhere. Where the folder cannot
    // be listed, the name as written, then in lower case, is tried.
    std::string Find(const std::string& fileName);

private:
    void ListOnce();
    bool IsFile(const std::string& name) const;
    std::string PathOf(const std::string& name) const;

    std::string folder_;  // as the model's path gives it, empty for the working folder
    FolderLister lister_;
    bool listed_ = false;
    bool listable_ = false;
    // Lower-cased name -> the folder's names that lower-case to it, in listing order.
    std::map<std::string, std::vector<std::string>> index_;
};
