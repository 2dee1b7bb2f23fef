// What v4l2-ctl, run as a separate program, says about the video nodes: the
// independent view the VM tests hold the program's own readings against.
#pragma once

#include <map>
#include <string>
#include <vector>

struct V4l2CtlNode {
    std::string driver;
    std::string card;
    std::vector<std::string> capabilities; // the whole device's
    std::vector<std::string> deviceCaps;   // this node's
};

struct V4l2CtlControl {
    std::string type;
    long min = 0;
    long max = 0;
    long step = 0;
    long def = 0;
    long value = 0;
};

// Runs a shell command; its standard output goes to *output. Returns the
// exit status, or -1 when it could not run.
int RunCommand(const std::string& command, std::string* output);

// Exit status, standard output and standard error of one program run, and
// how long it took.
struct CommandRun {
    int status;
    std::string out, err;
    double ms;
};
CommandRun RunProgram(const std::string& commandLine);
// A whole file's bytes; empty when it cannot be read.
std::string FileBytes(const std::string& path);

// The /dev/videoN nodes, ordered by N.
std::vector<std::string> ListVideoNodes();

bool QueryNode(const std::string& node, V4l2CtlNode* info);
bool IsCaptureNode(const V4l2CtlNode& info);
// The nodes whose own capabilities say video capture, in node order.
std::vector<std::string> CaptureNodes();

// `v4l2-ctl --list-ctrls`, by control name.
std::map<std::string, V4l2CtlControl> ListControls(const std::string& node);
bool SetControl(const std::string& node, const std::string& name, long value);
