#pragma once
// While an Unreadable lives, opening its file for reading fails the way the
// platform refuses: elsewhere by the file's mode (set to none for good, with
// root's power to override modes given up on this thread meanwhile), on
// Windows by a handle on the file that shares nothing.
#include <QString>
#include <string>

class Unreadable {
public:
    explicit Unreadable(const std::string& path);
    ~Unreadable();
    Unreadable(const Unreadable&) = delete;
    Unreadable& operator=(const Unreadable&) = delete;

    // The system's description of that refusal.
    static QString reason();
    // The viewer's report of the refusal for absolutePath: the path as the
    // platform spells it, then the reason.
    static QString report(const std::string& absolutePath);

private:
    void* held_ = nullptr; // what keeps the file from being read
};
