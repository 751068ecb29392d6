#include "tests/spooler/spooler_support.hpp"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "preview/decode.hpp"
#include "preview/escp_page.hpp"
#include "preview/pcl_page.hpp"

namespace fs = std::filesystem;

std::string read_file(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

void write_file(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string sh_quote(std::string_view text) {
    std::string q = "'";
    for (char c : text) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

ProcessResult shell(const std::string& script, const EnvList& env) {
    return run_process("/bin/sh", "export PATH=/usr/sbin:/usr/bin:/sbin:/bin\n" + script, env);
}

TempDir::TempDir() {
    std::string templ = (fs::temp_directory_path() / "kevra-spooler.XXXXXX").string();
    if (mkdtemp(templ.data())) path_ = templ;
}

TempDir::~TempDir() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
}

std::set<std::string> symbols_on_escp24(const std::string& printerstream) {
    // 120 x 180 dots per inch, read at 360 x 360.
    return read_page(escp_square(rebuild_escp(printerstream, true), true), 30);
}

std::set<std::string> symbols_on_pcl(const std::string& printerstream) {
    std::set<std::string> got;
    for (const PclSheet& sheet : rebuild_pcl(printerstream).sheets)
        got.merge(read_page(sheet.ink, 20));
    return got;
}

std::vector<std::string> packaged_printers() {
    std::vector<std::string> words;
    std::istringstream list(KEVRA_PACKAGED_PRINTERS);
    for (std::string w; std::getline(list, w, ',');) words.push_back(w);
    return words;
}

namespace {

constexpr const char* kCupsd = "/usr/sbin/cupsd";

// cupsd.conf: listen on a socket of our own only, let every local client
// administer and print; the scheduler's default log level, so that what the
// tests find in the log is what an administrator finds there.
std::string cupsd_conf(const std::string& root) {
    return "LogLevel warn\n"
           "Listen " +
           root +
           "/run/cups.sock\n"
           "WebInterface No\n"
           "Browsing No\n"
           "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
           "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n";
}

std::string cups_files_conf(const std::string& root) {
    return "ServerRoot " + root +
           "/etc\n"
           "RequestRoot " +
           root +
           "/spool\n"
           "TempDir " +
           root +
           "/spool/tmp\n"
           "CacheDir " +
           root +
           "/cache\n"
           "StateDir " +
           root +
           "/run\n"
           "ServerBin " +
           root +
           "/lib\n"
           "DataDir /usr/share/cups\n"
           "ErrorLog " +
           root +
           "/log/error_log\n"
           "AccessLog " +
           root +
           "/log/access_log\n"
           "PageLog " +
           root +
           "/log/page_log\n"
           "Printcap " +
           root +
           "/run/printcap\n"
           "FileDevice Yes\n"
           "Sandboxing relaxed\n"
           "SetEnv KEVRA_BINDIR " +
           root + "/bin\n";
}

} // namespace

CupsServer::CupsServer() {
    const std::string& root = dir_.path();
    if (root.empty()) {
        failure_ = "no temporary directory";
        return;
    }
    if (access(kCupsd, X_OK) != 0 || access("/usr/sbin/lpadmin", X_OK) != 0 ||
        access("/usr/bin/lp", X_OK) != 0) {
        failure_ = "CUPS is not installed (cups-daemon and cups-client)";
        return;
    }
    // The scheduler runs filters as the user lp: it must reach the filter
    // and the spool through this tree.
    fs::permissions(root, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
    for (const char* sub :
         {"etc/ppd", "spool/tmp", "cache", "run", "log", "lib/filter", "bin", "out"})
        fs::create_directories(root + "/" + sub);
    fs::create_directory_symlink("/usr/lib/cups/daemon", root + "/lib/daemon");
    // Copies of the filter and the programs, so that a build tree the user lp
    // cannot enter does not matter.
    fs::copy_file(KEVRA_FILTER, root + "/lib/filter/texttokevra");
    for (const auto& e : fs::directory_iterator(KEVRA_BINARY_DIR))
        if (e.path().filename().string().starts_with("kevra_"))
            fs::copy_file(e.path(), root + "/bin/" + e.path().filename().string());
    write_file(root + "/etc/cupsd.conf", cupsd_conf(root));
    write_file(root + "/etc/cups-files.conf", cups_files_conf(root));

    const std::string conf = root + "/etc/cupsd.conf", files = root + "/etc/cups-files.conf";
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
        // Never outlive the test, whatever ends it.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(127);
        const std::string logpath = root + "/log/cupsd.out";
        if (!freopen(logpath.c_str(), "w", stdout) || !freopen(logpath.c_str(), "a", stderr))
            _exit(127);
        execl(kCupsd, kCupsd, "-f", "-c", conf.c_str(), "-s", files.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    if (pid_ < 0) {
        failure_ = "cannot fork";
        return;
    }
    for (int i = 0; i < 100; ++i) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            failure_ = "cupsd exited at once: " + read_file(root + "/log/cupsd.out") +
                       read_file(root + "/log/error_log");
            return;
        }
        if (fs::exists(root + "/run/cups.sock") && client("lpstat -r").exitcode == 0) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    failure_ = "cupsd did not answer within 10 seconds: " + read_file(root + "/log/error_log");
}

CupsServer::~CupsServer() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    for (int i = 0; i < 50; ++i) {
        if (waitpid(pid_, nullptr, WNOHANG) == pid_) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
}

ProcessResult CupsServer::client(const std::string& script) const {
    return shell(script, {{"CUPS_SERVER", dir_.path() + "/run/cups.sock"}});
}

ProcessResult CupsServer::add_queue(const std::string& name, const std::string& ppd) const {
    return client("lpadmin -p " + name + " -E -v " +
                  sh_quote("file://" + dir_.path() + "/out/" + name + ".prn") + " -P " +
                  sh_quote(ppd) + " </dev/null 2>&1");
}

int CupsServer::print(const std::string& queue, const std::string& lpargs,
                      std::string* lpoutput) const {
    const ProcessResult r = client("lp -d " + queue + " " + lpargs + " </dev/null 2>&1");
    if (lpoutput) *lpoutput = r.out;
    const std::string marker = "request id is " + queue + "-";
    const size_t at = r.out.find(marker);
    return at == std::string::npos ? 0 : std::atoi(r.out.c_str() + at + marker.size());
}

bool CupsServer::wait_idle(const std::string& queue, int seconds) const {
    const std::string script = "i=0; while [ $i -lt " + std::to_string(seconds * 20) +
                               " ]; do [ -z \"$(lpstat -W not-completed -o " + queue +
                               " </dev/null)\" ] && exit 0; sleep 0.05; i=$((i+1)); done; exit 1";
    return client(script).exitcode == 0;
}

std::string CupsServer::output(const std::string& queue) const {
    return read_file(dir_.path() + "/out/" + queue + ".prn");
}

std::string CupsServer::error_log() const {
    return read_file(dir_.path() + "/log/error_log");
}

std::string CupsServer::job_end(int jobid) const {
    // The job's saved attributes (an IPP message) hold job-state as an enum:
    // value tag 0x23, name length, name, value length 4, value.
    char name[16];
    std::snprintf(name, sizeof name, "/spool/c%05d", jobid);
    static const std::string attr("\x23\x00\x09job-state\x00\x04", 14);
    for (int i = 0; i < 100; ++i) {
        const std::string saved = read_file(dir_.path() + name);
        const size_t at = saved.find(attr);
        if (at != std::string::npos && at + attr.size() + 4 <= saved.size()) {
            const int state = static_cast<unsigned char>(saved[at + attr.size() + 3]);
            if (state == 9) return "completed";
            if (state == 8) return "aborted";
            if (state == 7) return "canceled";
            if (state == 6) return "stopped";
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return {};
}
