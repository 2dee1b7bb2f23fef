// Runs the converter's parser on scripts held in memory: the script is
// "dir/app.rc" and other files are given by name relative to it.
#pragma once

#include "tools/rc2cpp/parser.h"

#include <map>
#include <string>

struct InlineScript {
    std::map<std::string, std::string> files;
    rc::Script script;
    rc::Diagnostic error;

    explicit InlineScript(const std::string& text) { files["dir/app.rc"] = text; }

    InlineScript& With(const std::string& name, const std::string& text) {
        files["dir/" + name] = text;
        return *this;
    }

    bool Parse() {
        rc::FileReader read = [this](const std::string& path, std::string* contents) {
            auto it = files.find(path);
            if (it == files.end())
                return false;
            *contents = it->second;
            return true;
        };
        return rc::ParseScript("dir/app.rc", read, &script, &error);
    }
};

// A minimal icon file around one 1x1 image of 48 bytes (image, whose first
// bytes tell its kind: by default a 32-bit bitmap).
inline std::string TinyIco(std::string image = std::string("\x28\0\0\0\1\0\0\0\2\0\0\0", 12)) {
    std::string ico("\0\0\1\0\1\0\1\1\0\0\1\0\x20\0\x30\0\0\0\x16\0\0\0", 22);
    image.resize(48, '\0');
    return ico + image;
}
