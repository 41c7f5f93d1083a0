// Instructions per operation under callgrind: see callgrind_counts.h.
#include "bench/table/callgrind_counts.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <thread>

#include <valgrind/callgrind.h>

#include "bench/table/bench_device.h"
#include "bench/table/rows.h"

namespace bench {
namespace {

namespace fs = std::filesystem;

const Row* RowById(const std::string& id) {
  for (const Row& row : Rows()) {
    if (id == row.id) return &row;
  }
  return nullptr;
}

std::string Joined(const std::vector<std::string>& ids) {
  std::string joined;
  for (const std::string& id : ids) joined += (joined.empty() ? "" : ",") + id;
  return joined;
}

// The row id a dump was made for ("desc: Trigger: Client Request: ID") and
// its instruction total ("totals: N", or "summary: N").
bool ReadDump(const fs::path& file, std::string* id, uint64_t* instructions) {
  std::ifstream in(file);
  const std::string trigger = "desc: Trigger: Client Request: ";
  std::string line;
  bool haveId = false;
  bool haveTotal = false;
  while (std::getline(in, line)) {
    if (line.rfind(trigger, 0) == 0) {
      *id = line.substr(trigger.size());
      haveId = true;
    } else if (line.rfind("totals:", 0) == 0 || line.rfind("summary:", 0) == 0) {
      std::istringstream fields(line.substr(line.find(':') + 1));
      haveTotal = static_cast<bool>(fields >> *instructions);
    }
  }
  return haveId && haveTotal;
}

// One child under callgrind; its dumps land in `folder` as cg.NAME.*.
struct Child {
  std::string name;
  std::vector<std::string> ids;
  int status = -1;
};

void RunChild(const std::string& self, const fs::path& folder, Child* child) {
  const std::string command =
      "valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file='" +
      (folder / ("cg." + child->name)).string() + "' '" + self + "' --callgrind-child '" +
      Joined(child->ids) + "' >'" + (folder / (child->name + ".log")).string() + "' 2>&1";
  child->status = std::system(command.c_str());
}

}  // namespace

int RunRowsForCallgrind(const std::string& ids) {
  if (!BenchDevice::Get().problem().empty()) {
    std::cerr << "bench_table: " << BenchDevice::Get().problem() << "\n";
    return 1;
  }
  std::istringstream list(ids);
  std::string id;
  while (std::getline(list, id, ',')) {
    const Row* row = RowById(id);
    if (row == nullptr || !row->prepare()) {
      std::cerr << "bench_table: " << id << " cannot run\n";
      return 1;
    }
    // Lazily made state (fonts, tables, the first use of a code path) is
    // paid for by an uncounted first operation.
    if (!row->heavy) row->run();
    CALLGRIND_ZERO_STATS;
    CALLGRIND_TOGGLE_COLLECT;
    for (int i = 0; i < row->callgrindOperations; ++i) row->run();
    CALLGRIND_TOGGLE_COLLECT;
    CALLGRIND_DUMP_STATS_AT(row->id);
  }
  return 0;
}

std::map<std::string, uint64_t> InstructionsPerOperation(const std::string& self,
                                                         const std::vector<std::string>& ids,
                                                         std::string* problem) {
  std::vector<Child> children(1, Child{"rows", {}});
  for (const std::string& id : ids) {
    const Row* row = RowById(id);
    if (row != nullptr && row->heavy) children.push_back({id, {id}});
    else if (row != nullptr) children.front().ids.push_back(id);
  }
  if (children.front().ids.empty()) children.erase(children.begin());

  std::error_code ec;
  const fs::path folder =
      fs::temp_directory_path() / ("bench_table_callgrind_" + std::to_string(::getpid()));
  fs::remove_all(folder, ec);
  fs::create_directories(folder, ec);
  std::vector<std::thread> running;
  for (Child& child : children) running.emplace_back(RunChild, self, folder, &child);
  for (std::thread& thread : running) thread.join();
  for (const Child& child : children) {
    if (child.status == 0) continue;
    std::ifstream log(folder / (child.name + ".log"));
    *problem += "valgrind failed for " + Joined(child.ids) + " (is it installed?):\n" +
                std::string(std::istreambuf_iterator<char>(log), {});
  }

  std::map<std::string, uint64_t> perOperation;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
    std::string id;
    uint64_t instructions = 0;
    if (entry.path().filename().string().rfind("cg.", 0) != 0 ||
        !ReadDump(entry.path(), &id, &instructions))
      continue;
    const Row* row = RowById(id);
    if (row != nullptr && row->callgrindOperations > 0) {
      perOperation[id] = instructions / static_cast<uint64_t>(row->callgrindOperations);
    }
  }
  fs::remove_all(folder, ec);
  return perOperation;
}

}  // namespace bench
