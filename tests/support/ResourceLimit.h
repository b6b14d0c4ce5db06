#pragma once

#include <sys/resource.h>

// Until it ends, the process's soft limit of `resource` (RLIMIT_NOFILE,
// RLIMIT_AS, …) is `soft`.
class ResourceLimit {
public:
    ResourceLimit(int resource, rlim_t soft) : m_resource(resource)
    {
        getrlimit(m_resource, &m_old);
        const rlimit limit{soft, m_old.rlim_max};
        setrlimit(m_resource, &limit);
    }
    ~ResourceLimit() { setrlimit(m_resource, &m_old); }
    ResourceLimit(const ResourceLimit &) = delete;
    ResourceLimit &operator=(const ResourceLimit &) = delete;

private:
    int m_resource;
    rlimit m_old{};
};
