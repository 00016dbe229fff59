#include "test_support.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

scratch_directory::scratch_directory() {
  std::random_device random;
  fs::path base = fs::temp_directory_path();
  for (;;) {
    fs::path candidate = base / ("quilvex-" + std::to_string(random()));
    if (fs::create_directory(candidate)) {
      path_ = candidate.string();
      break;
    }
  }
  previous_ = fs::current_path().string();
  fs::current_path(path_);
}

scratch_directory::~scratch_directory() {
  std::error_code ignored;
  fs::current_path(previous_, ignored);
  fs::remove_all(path_, ignored);
}

std::vector<std::string> scratch_directory::entries() const {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(path_))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

void write_file(const std::string& name, const std::string& bytes) {
  std::ofstream file(name, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!file) throw std::runtime_error("cannot write " + name);
}

std::string read_file(const std::string& name) {
  std::ifstream file(name, std::ios::binary);
  if (!file) throw std::runtime_error("cannot open " + name);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

bool file_exists(const std::string& name) {
  std::error_code ignored;
  return fs::exists(fs::symlink_status(name, ignored));
}

void make_directory(const std::string& name) {
  if (!fs::create_directory(name))
    throw std::runtime_error("cannot make directory " + name);
}

std::string quilvex_path() {
  return QUILVEX_PATH;
}

std::string on_console(const std::string& text) {
  std::string result;
  for (char c : text) {
    if (c == '\n')
      result += console_newline;
    else
      result += c;
  }
  return result;
}

const char first_prompt[] = "Which file would you like to go first? ";
const char another_prompt[] = "Would you like to add another file? [y/n] ";
const char next_prompt[] = "Which file would you like to go next? ";
