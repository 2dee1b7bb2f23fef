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

// A minimal icon file: one 1x1 image of 8 bytes.
inline std::string TinyIco() {
    std::string ico("\0\0\1\0\1\0\1\1\0\0\1\0\x20\0\x08\0\0\0\x16\0\0\0", 22);
    return ico + std::string(8, '\0');
}
