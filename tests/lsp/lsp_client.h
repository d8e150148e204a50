#pragma once
// A test client for tsy lsp: starts the built server on a pair of pipes,
// sends requests and notifications as an editor does, and reads back what
// the server writes, frame by frame, keeping the notifications apart.

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace tsy::lsp {

using json = nlohmann::json;

class LspClient {
 public:
  LspClient() {
    int toServer[2];
    int fromServer[2];
    if (pipe(toServer) != 0 || pipe(fromServer) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(toServer[0], STDIN_FILENO);
      dup2(fromServer[1], STDOUT_FILENO);
      close(toServer[1]);
      close(fromServer[0]);
      execl(TSY_BINARY_DIR "/tsy", "tsy", "lsp", nullptr);
      _exit(127);
    }
    close(toServer[0]);
    close(fromServer[1]);
    in_ = toServer[1];
    out_ = fromServer[0];
    signal(SIGPIPE, SIG_IGN);
  }
  ~LspClient() {
    if (in_ >= 0) close(in_);
    if (pid_ > 0 && ExitCode() < 0) kill(pid_, SIGKILL);
    if (out_ >= 0) close(out_);
  }

  // Writes raw bytes, as a broken client might.
  void SendRaw(const std::string& bytes) { (void)!write(in_, bytes.data(), bytes.size()); }
  void Send(const json& message) {
    const std::string body = message.dump();
    SendRaw("Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body);
  }
  void Notify(const std::string& method, const json& params) {
    Send({{"jsonrpc", "2.0"}, {"method", method}, {"params", params}});
  }
  // Sends a request and returns the server's answer to it (the whole message).
  json Request(const std::string& method, const json& params) {
    const int id = nextId_++;
    Send({{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}});
    return AnswerTo(id);
  }
  // The answer with `id`; notifications met on the way are kept.
  json AnswerTo(const json& id) {
    while (std::optional<json> message = ReadMessage()) {
      if (!message->contains("method") && (*message)["id"] == id) return *message;
      if (message->contains("method")) notifications_.push_back(*message);
    }
    return nullptr;
  }
  // The next notification of `method`.
  json NextNotification(const std::string& method) {
    for (;;) {
      for (auto it = notifications_.begin(); it != notifications_.end(); ++it) {
        if ((*it)["method"] != method) continue;
        json found = *it;
        notifications_.erase(it);
        return found;
      }
      std::optional<json> message = ReadMessage();
      if (!message) return nullptr;
      notifications_.push_back(*message);
    }
  }

  // initialize with `params` merged in, then initialized; returns initialize's result.
  json Initialize(const json& params = json::object()) {
    json all = {{"processId", nullptr}, {"rootUri", nullptr}, {"capabilities", json::object()}};
    all.update(params);
    json answer = Request("initialize", all);
    Notify("initialized", json::object());
    return answer["result"];
  }
  // Opens `text` as file:///test.mus and returns the diagnostics published for it.
  json Open(const std::string& text, const std::string& uri = "file:///test.mus") {
    Notify("textDocument/didOpen",
           {{"textDocument", {{"uri", uri}, {"languageId", "tessaly32"}, {"version", 1}, {"text", text}}}});
    return NextNotification("textDocument/publishDiagnostics")["params"]["diagnostics"];
  }
  // A request at a position of file:///test.mus; returns its result.
  json At(const std::string& method, int line, int character) {
    return Request(method, {{"textDocument", {{"uri", "file:///test.mus"}}},
                            {"position", {{"line", line}, {"character", character}}}})["result"];
  }

  // Waits up to five seconds for the server to end; its exit code, or -1.
  int ExitCode() {
    for (int i = 0; i < 500; ++i) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      usleep(10000);
    }
    return -1;
  }
  void CloseInput() {
    close(in_);
    in_ = -1;
  }

 private:
  // One frame from the server, or nothing after five seconds of silence or at its end.
  std::optional<json> ReadMessage() {
    std::string header;
    while (header.find("\r\n\r\n") == std::string::npos) {
      char c;
      if (!ReadByte(c)) return std::nullopt;
      header += c;
    }
    const size_t at = header.find("Content-Length: ");
    if (at == std::string::npos) return std::nullopt;
    size_t length = std::stoul(header.substr(at + 16));
    std::string body;
    while (body.size() < length) {
      char c;
      if (!ReadByte(c)) return std::nullopt;
      body += c;
    }
    return json::parse(body);
  }
  bool ReadByte(char& c) {
    pollfd ready{out_, POLLIN, 0};
    if (poll(&ready, 1, 5000) <= 0) return false;
    return read(out_, &c, 1) == 1;
  }

  pid_t pid_ = -1;
  int in_ = -1;
  int out_ = -1;
  int nextId_ = 1;
  std::vector<json> notifications_;
};

}  // namespace tsy::lsp
