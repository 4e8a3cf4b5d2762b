// SPDX-License-Identifier: GPL-3.0-or-later
#include "QueueJobs.h"

#include "base/FtpUrl.h"

namespace qx::cli {

namespace {

// Fields separated by blanks; "..." holds blanks. Nothing when a quote is not closed.
std::optional<std::vector<std::string>> SplitFields(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t at = 0;
    while (at < line.size()) {
        if (line[at] == ' ' || line[at] == '\t') {
            ++at;
            continue;
        }
        std::string field;
        if (line[at] == '"') {
            const std::size_t close = line.find('"', at + 1);
            if (close == std::string_view::npos) {
                return std::nullopt;
            }
            field.assign(line.substr(at + 1, close - at - 1));
            at = close + 1;
        } else {
            const std::size_t end = line.find_first_of(" \t", at);
            field.assign(line.substr(at, end == std::string_view::npos ? end : end - at));
            at = end == std::string_view::npos ? line.size() : end;
        }
        fields.push_back(std::move(field));
    }
    return fields;
}

bool IsUrl(const std::string& text, std::string& problem) {
    return ParseFtpUrl(text, problem).has_value();
}

} // namespace

std::string CheckQueueJob(const QueueJob& job) {
    std::string problem;
    switch (job.kind) {
    case QueueJob::Kind::Get:
        if (!IsUrl(job.source, problem)) {
            return problem;
        }
        return job.destination.empty() ? "get needs a local folder" : "";
    case QueueJob::Kind::Put:
        if (job.source.empty()) {
            return "put needs a local file or folder";
        }
        return IsUrl(job.destination, problem) ? "" : problem;
    case QueueJob::Kind::Copy:
        if (!IsUrl(job.source, problem) || !IsUrl(job.destination, problem)) {
            return problem;
        }
        return "";
    }
    return "unknown job";
}

std::optional<std::vector<QueueJob>> ParseQueueJobs(std::string_view text, const std::string& name,
                                                    std::string& error) {
    std::vector<QueueJob> jobs;
    int number = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        const auto fail = [&](const std::string& why) {
            error = name + ":" + std::to_string(number) + ": " + why;
            return std::nullopt;
        };
        const auto fields = SplitFields(line);
        if (!fields) {
            return fail("a quote is not closed");
        }
        if (fields->empty() || fields->front().front() == '#') {
            continue;
        }
        QueueJob job;
        job.line = number;
        const std::string& verb = (*fields)[0];
        if (verb == "get") {
            job.kind = QueueJob::Kind::Get;
        } else if (verb == "put") {
            job.kind = QueueJob::Kind::Put;
        } else if (verb == "copy") {
            job.kind = QueueJob::Kind::Copy;
        } else {
            return fail("unknown job \"" + verb + "\" (get, put or copy)");
        }
        if (fields->size() != 3) {
            return fail(verb + " takes two arguments");
        }
        job.source = (*fields)[1];
        job.destination = (*fields)[2];
        if (const std::string problem = CheckQueueJob(job); !problem.empty()) {
            return fail(problem);
        }
        jobs.push_back(std::move(job));
    }
    return jobs;
}

} // namespace qx::cli
