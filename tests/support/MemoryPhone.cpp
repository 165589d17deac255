#include "support/MemoryPhone.h"

#include <fstream>
#include <iterator>

namespace {

std::vector<std::string> Split(const std::string& path, const char* separators)
{
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (std::string(separators).find(c) != std::string::npos) {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        parts.push_back(part);
    return parts;
}

void Collect(const MemoryPhone::Node& node, const std::string& prefix, std::set<std::string>& out)
{
    for (const auto& child : node.children) {
        const std::string path = prefix + child->name;
        out.insert(child->folder ? path + "/" : path);
        if (child->folder)
            Collect(*child, path + "/", out);
    }
}

}  // namespace

MemoryPhone::Node* MemoryPhone::Node::Child(const std::string& childName) const
{
    for (const auto& child : children) {
        if (child->name == childName)
            return child.get();
    }
    return nullptr;
}

MemoryPhone::MemoryPhone()
{
    root.folder = true;
    connected = true;
}

MemoryPhone::Node& MemoryPhone::Folder(Node& parent, const std::string& name)
{
    if (Node* existing = parent.Child(name))
        return *existing;
    auto node = std::make_unique<Node>();
    node->name = name;
    node->folder = true;
    node->parent = &parent;
    parent.children.push_back(std::move(node));
    return *parent.children.back();
}

MemoryPhone::Node& MemoryPhone::File(Node& parent, const std::string& name,
                                     const std::string& content)
{
    auto node = std::make_unique<Node>();
    node->name = name;
    node->content = content;
    node->size = static_cast<uint32_t>(content.size());
    node->time = SystemTime{2024, 5, 0, 17, 10, 30, 0, 0};
    node->parent = &parent;
    parent.children.push_back(std::move(node));
    return *parent.children.back();
}

MemoryPhone::Node& MemoryPhone::Folder(const std::string& path)
{
    Node* node = &root;
    for (const std::string& part : Split(path, "/"))
        node = &Folder(*node, part);
    return *node;
}

MemoryPhone::Node& MemoryPhone::File(const std::string& path, const std::string& content)
{
    const size_t slash = path.rfind('/');
    Node& parent = slash == std::string::npos ? root : Folder(path.substr(0, slash));
    return File(parent, slash == std::string::npos ? path : path.substr(slash + 1), content);
}

MemoryPhone::Node* MemoryPhone::Find(const std::string& path) const
{
    const Node* node = &root;
    for (const std::string& part : Split(path, "/")) {
        node = node->Child(part);
        if (node == nullptr)
            return nullptr;
    }
    return const_cast<Node*>(node);
}

std::set<std::string> MemoryPhone::Tree() const
{
    std::set<std::string> out;
    Collect(root, "", out);
    return out;
}

void MemoryPhone::GoTo(const std::string& path)
{
    cwd = &root;
    pathParts.DeleteAll();
    for (const std::string& part : Split(path, "/")) {
        cwd = cwd->Child(part);
        pathParts.Append(new GString(part.c_str()));
    }
}

std::vector<std::string> MemoryPhone::Calls(const std::string& prefix) const
{
    std::vector<std::string> out;
    for (const std::string& call : calls) {
        if (call.compare(0, prefix.size(), prefix) == 0)
            out.push_back(call);
    }
    return out;
}

void MemoryPhone::Log(const char* what, const GString& name)
{
    calls.push_back(std::string(what) + " " + Cwd() + "|" + name.CStr());
}

MemoryPhone::Node* MemoryPhone::Resolve(const std::string& relative) const
{
    const Node* node = cwd;
    for (const std::string& part : Split(relative, "\\/")) {
        if (part == "..")
            node = node->parent != nullptr ? node->parent : node;
        else if (part != ".")
            node = node->Child(part);
        if (node == nullptr)
            return nullptr;
    }
    return const_cast<Node*>(node);
}

bool MemoryPhone::ReadFolder(WaitProgress* wait)
{
    progressWindow = wait;
    calls.push_back("list " + Cwd());
    if (cwd->failList)
        return false;
    entries.DeleteAll();
    for (const auto& child : cwd->children) {
        auto* entry = new FolderObject;
        entry->type = child->folder ? FolderObject::kFolder : FolderObject::kFile;
        entry->name = child->name.c_str();
        entry->time = child->time;
        if (child->folder) {
            entry->sizeText = "Папка";
        } else {
            entry->size = child->size;
            if (child->hasSize)
                entry->sizeText = GString(child->size);
            entry->SetExtensionFromName();
        }
        entries.Append(entry);
    }
    return true;
}

bool MemoryPhone::GetFile(FolderObject* entry, FileSink& sink, OperationProgress* progress)
{
    Log("get", entry->name);
    const Node* node = cwd->Child(entry->name.CStr());
    if (node == nullptr || node->folder)
        return false;
    const uint32_t length = static_cast<uint32_t>(node->content.size());
    if (!sink.Reserve(length))
        return false;
    const bool cut = node->cutAfter >= 0 && node->cutAfter < length;
    const uint32_t sent = cut ? static_cast<uint32_t>(node->cutAfter) : length;
    constexpr uint32_t kBlock = 1000;
    for (uint32_t at = 0; at < sent; at += kBlock) {
        const uint32_t n = sent - at < kBlock ? sent - at : kBlock;
        if ((progress != nullptr && progress->IsCancelled()) ||
            !sink.Write(reinterpret_cast<const uint8_t*>(node->content.data()) + at, n))
            return false;
        if (progress != nullptr)
            progress->AddTransferred(n);
    }
    return !cut;
}

bool MemoryPhone::ChangeFolder(const GString& path)
{
    calls.push_back(std::string("cd ") + path.CStr());
    if (path.Equals("\\")) {
        if (rootRefusals > 0) {
            --rootRefusals;
            return false;
        }
        if (rootIgnored > 0) {
            --rootIgnored;
            return true;
        }
        cwd = &root;
        pathParts.DeleteAll();
        return true;
    }
    if (path.Equals("..")) {
        if (cwd->parent == nullptr)
            return false;
        cwd = cwd->parent;
        GString* last = pathParts.Get(pathParts.Count() - 1);
        pathParts.Remove(last);
        delete last;
        return true;
    }
    // Component by component, as the phone confirms each; ".." and "." are obeyed, and the
    // object's path records them as they were asked.
    for (const std::string& part : Split(path.CStr(), "\\/")) {
        Node* next = part == ".." ? (cwd->parent != nullptr ? cwd->parent : cwd)
                     : part == "." ? cwd
                                   : cwd->Child(part);
        if (next == nullptr || !next->folder || next->refuseEnter)
            return false;
        cwd = next;
        pathParts.Append(new GString(part.c_str()));
    }
    return true;
}

bool MemoryPhone::CreateFolder(const GString& name)
{
    Log("mkdir", name);
    if (failCreate.count(name.CStr()) != 0 || name.IsEmpty())
        return false;
    Node* existing = cwd->Child(name.CStr());
    if (existing != nullptr)
        return existing->folder;
    Folder(*cwd, name.CStr());
    return true;
}

bool MemoryPhone::DeleteObject(const GString& name)
{
    Log("del", name);
    Node* node = Resolve(name.CStr());
    if (node == nullptr || node == &root || node->failDelete)
        return false;
    if (node->keepOnDelete)
        return true;
    if (node->folder && !node->children.empty())
        return false;
    if (node == cwd)
        return false;
    auto& siblings = node->parent->children;
    for (auto it = siblings.begin(); it != siblings.end(); ++it) {
        if (it->get() == node) {
            siblings.erase(it);
            return true;
        }
    }
    return false;
}

bool MemoryPhone::PutFile(FileInformation* file, OperationProgress* progress)
{
    const GString name(file->findData.fileName);
    Log("put", name);
    const auto fault = failPut.find(name.CStr());
    if (fault != failPut.end()) {
        errorCode = fault->second;
        return false;
    }
    std::ifstream in(file->path.CStr(), std::ios::binary);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Node* existing = cwd->Child(name.CStr());
    if (existing != nullptr && existing->folder)
        return false;
    Node& node = existing != nullptr ? *existing : File(*cwd, name.CStr());
    node.content = content;
    node.size = static_cast<uint32_t>(content.size());
    if (progress != nullptr) {
        progress->SetFileSize(node.size);
        progress->AddTransferred(node.size);
    }
    return true;
}
