#include <windows.h>
// windows.h first: the agent's interface header builds on it.
#include <oleauto.h>
#include <wuapi.h>

#include "app/com_apartment_win32.h"
#include "inventory/update_search.h"
#include "util/log.h"
#include "util/text.h"

namespace tq {
namespace {

// The update session class and its interface, declared here rather than
// taken from an import library.
constexpr CLSID kClsidUpdateSession = {
    0x4cb43d7f, 0x7eee, 0x4906, {0x86, 0x98, 0x60, 0xda, 0x1c, 0x38, 0xf2, 0xfe}};
constexpr IID kIidUpdateSession = {
    0x816858a4, 0x260d, 0x4260, {0x93, 0x3a, 0x25, 0x85, 0xf1, 0xab, 0xc7, 0x6b}};

// Releases one interface pointer when it goes out of scope.
template <typename T>
class ComPtr {
  public:
    ComPtr() = default;
    ~ComPtr() {
        if (p_ != nullptr) {
            p_->Release();
        }
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T** put() { return &p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

  private:
    T* p_ = nullptr;
};

// Frees one BSTR when it goes out of scope.
class Bstr {
  public:
    Bstr() = default;
    explicit Bstr(const wchar_t* text) : b_(SysAllocString(text)) {}
    ~Bstr() { SysFreeString(b_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;

    BSTR* put() { return &b_; }
    BSTR get() const { return b_; }

  private:
    BSTR b_ = nullptr;
};

std::string bstr_to_utf8(BSTR text) {
    if (text == nullptr) {
        return "";
    }
    return to_utf8(WStringView(text, SysStringLen(text)));
}

std::vector<std::string> kb_article_ids(IUpdate* update) {
    std::vector<std::string> ids;
    ComPtr<IStringCollection> collection;
    if (FAILED(update->get_KBArticleIDs(collection.put())) || !collection) {
        return ids;
    }
    LONG count = 0;
    if (FAILED(collection->get_Count(&count))) {
        return ids;
    }
    for (LONG i = 0; i < count; ++i) {
        Bstr id;
        if (SUCCEEDED(collection->get_Item(i, id.put()))) {
            ids.push_back(bstr_to_utf8(id.get()));
        }
    }
    return ids;
}

UpdateInfo read_update(IUpdate* update, bool installed_flag) {
    UpdateInfo info;
    Bstr title;
    if (SUCCEEDED(update->get_Title(title.put()))) {
        info.title = bstr_to_utf8(title.get());
    }
    Bstr severity;
    std::optional<std::string> reported;
    if (SUCCEEDED(update->get_MsrcSeverity(severity.put()))) {
        reported = bstr_to_utf8(severity.get());
    }
    info.severity = severity_text(reported);
    VARIANT_BOOL mandatory = VARIANT_FALSE;
    info.mandatory = SUCCEEDED(update->get_IsMandatory(&mandatory)) && mandatory == VARIANT_TRUE;
    info.kb = join_kb_ids(kb_article_ids(update));
    info.installed = installed_flag;
    return info;
}

}  // namespace

void read_update_list(IUpdateSearcher* searcher, const wchar_t* criteria, bool online,
                      bool installed_flag, std::vector<UpdateInfo>& out) {
    searcher->put_Online(online ? VARIANT_TRUE : VARIANT_FALSE);
    Bstr query(criteria);
    ComPtr<ISearchResult> result;
    const HRESULT hr = searcher->Search(query.get(), result.put());
    if (FAILED(hr) || !result) {
        log_warn(std::string("WUA search failed (") + (online ? "online" : "offline") +
                 "): " + hresult_text(hr));
        return;
    }
    ComPtr<IUpdateCollection> updates;
    LONG count = 0;
    if (FAILED(result->get_Updates(updates.put())) || !updates ||
        FAILED(updates->get_Count(&count)) || count <= 0) {
        return;
    }
    for (LONG i = 0; i < count; ++i) {
        ComPtr<IUpdate> update;
        if (FAILED(updates->get_Item(i, update.put())) || !update) {
            continue;
        }
        out.push_back(read_update(update.operator->(), installed_flag));
    }
}

UpdateSummary search_updates(bool include_installed, bool include_available) {
    UpdateSummary summary;
    summary.last_search = iso_timestamp_now();
    const app::ComApartment apartment(COINIT_MULTITHREADED);

    ComPtr<IUpdateSession> session;
    const HRESULT hr = CoCreateInstance(kClsidUpdateSession, nullptr, CLSCTX_INPROC_SERVER,
                                        kIidUpdateSession, reinterpret_cast<void**>(session.put()));
    if (FAILED(hr) || !session) {
        log_warn("Windows Update session unavailable: " + hresult_text(hr));
        return summary;
    }
    ComPtr<IUpdateSearcher> searcher;
    if (FAILED(session->CreateUpdateSearcher(searcher.put())) || !searcher) {
        log_warn("CreateUpdateSearcher failed");
        return summary;
    }
    if (include_installed) {
        read_update_list(searcher.operator->(), L"IsInstalled=1", false, true, summary.installed);
    }
    if (include_available) {
        read_update_list(searcher.operator->(), L"IsInstalled=0 and IsHidden=0", true, false,
                         summary.available);
        summary.important_count = count_important(summary.available);
    }
    return summary;
}

}  // namespace tq
