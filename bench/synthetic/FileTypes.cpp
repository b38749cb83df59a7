// File classes (ProgIDs), file extensions, MIME types, the programs of
// "Open with" and each profile's Explorer extension lists. Planted: icons
// and open commands of missing programs, empty class keys, empty CLSID
// and command keys, extensions of unregistered classes, MIME types of
// unregistered extensions, open-with programs that are gone and
// extension lists without any program. Most of them are found by two
// categories at once: the ActiveX scan reads every value below a class,
// the file-type scan the class's icon and open command.
#include <unordered_set>

#include "synthetic/MachineParts.h"
#include "synthetic/Names.h"

namespace kelvara::bench {
namespace {

constexpr wchar_t kContentTypes[] = L"MIME\\Database\\Content Type\\";
constexpr wchar_t kFileExts[] = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\";

class FileTypeWriter {
 public:
  FileTypeWriter(MachineContext& ctx, SplitMix& rng) : ctx_(ctx), rng_(rng) {}

  void ProgIds(std::size_t count, const ComClasses& classes);
  void Extensions(std::size_t count);
  void Applications(std::size_t count);
  void UserExtensionLists(const UserProfile& profile, std::size_t count);

 private:
  void Key(const std::wstring& key) { ctx_.reg.Key(ctx_.layout.Classes(key)); }
  void Expect(TScanType category, const std::wstring& key, bool safe, const std::wstring& value = L"") {
    ctx_.truth.Expect(category, MachineLayout::ClassesFinding(key), value, safe);
  }
  std::wstring NewExtension();
  static std::wstring OpenCommand(const std::wstring& exe) { return L"\"" + exe + L"\" \"%1\""; }

  MachineContext& ctx_;
  SplitMix& rng_;
  std::vector<std::wstring> progIds_, extensions_;
  std::unordered_set<std::wstring> usedExtensions_;
};

std::wstring FileTypeWriter::NewExtension() {
  for (;;) {
    std::wstring ext = L".";
    const int letters = rng_.Between(2, 5);
    for (int i = 0; i < letters; ++i) ext.push_back(static_cast<wchar_t>(L'a' + rng_.Below(26)));
    if (letters > 3 && rng_.Percent(30)) ext += std::to_wstring(rng_.Below(10));
    // The ignore list leaves ".eml" and ".pano" alone.
    if (ext.starts_with(L".eml") || ext.starts_with(L".pano")) continue;
    if (usedExtensions_.insert(ext).second) return ext;
  }
}

void FileTypeWriter::ProgIds(std::size_t count, const ComClasses& classes) {
  // Kinds: missing icon, missing open command, empty CLSID key, empty
  // class key, a blank default value only, an open command key without
  // values.
  PlantSchedule plants(20, 6);
  for (std::size_t i = 0; i < count; ++i) {
    const int plant = plants.Next();
    const Product& p = ctx_.catalog.Installed(rng_);
    const std::wstring id = p.vendor.substr(0, p.vendor.find(L' ')) + L"." + p.key + L"." + std::to_wstring(i);
    Key(id);
    if (plant == 3) {
      Expect(_ACTIVEX, id, true);
      Expect(_FileType, id, true);
      continue;
    }
    if (plant == 4) {
      ctx_.reg.String(L"", L"");
      Expect(_FileType, id, true);
      continue;
    }
    ctx_.reg.String(L"", p.name + L" " + CamelName(rng_, 1) + L" File");
    if (rng_.Percent(20)) ctx_.reg.String(L"FriendlyTypeName", L"@" + p.exe + L",-" + std::to_wstring(100 + i % 50));
    if (plant == 2) {
      Key(id + L"\\CLSID");
      Expect(_ACTIVEX, id + L"\\CLSID", true);
    } else if (rng_.Percent(40)) {
      Key(id + L"\\CLSID");
      ctx_.reg.String(L"", rng_.Pick(classes.healthy));
    }
    if (plant == 0) {
      Key(id + L"\\DefaultIcon");
      ctx_.reg.String(L"", ctx_.catalog.Removed(rng_).exe + L",1");
      Expect(_ACTIVEX, id + L"\\DefaultIcon", true);
      Expect(_FileType, id + L"\\DefaultIcon", true);
    } else if (rng_.Percent(60)) {
      Key(id + L"\\DefaultIcon");
      ctx_.reg.String(L"", p.exe + L"," + std::to_wstring(rng_.Below(8)));
    }
    const std::wstring command = id + L"\\shell\\open\\command";
    if (plant == 1) {
      Key(command);
      ctx_.reg.String(L"", OpenCommand(ctx_.catalog.Removed(rng_).exe));
      Expect(_ACTIVEX, command, true);
      Expect(_FileType, command, false);
    } else if (plant == 5) {
      Key(command);
      Expect(_FileType, command, true);
    } else if (rng_.Percent(60)) {
      Key(command);
      ctx_.reg.String(L"", OpenCommand(p.exe));
      if (rng_.Percent(15)) {
        Key(id + L"\\shell\\print\\command");
        ctx_.reg.String(L"", L"\"" + p.exe + L"\" /p \"%1\"");
      }
    }
    if (plant < 0) progIds_.push_back(id);
  }
}

void FileTypeWriter::Extensions(std::size_t count) {
  // Kinds: an unregistered class, an empty extension key, a MIME type of
  // an unregistered extension, a missing icon.
  PlantSchedule plants(20, 4);
  for (std::size_t i = 0; i < count; ++i) {
    const int plant = plants.Next();
    const std::wstring ext = NewExtension();
    const std::wstring mime = std::wstring(kContentTypes) + L"application/x-" + ext.substr(1);
    Key(ext);
    if (plant == 1) {
      Expect(_ACTIVEX, ext, true);
      Expect(_FileType, ext, true);
      continue;
    }
    if (plant == 2) {
      ctx_.reg.String(L"", rng_.Pick(progIds_));
      Key(mime);
      ctx_.reg.String(L"Extension", NewExtension());
      Expect(_FileType, mime, true, L"Extension");
      continue;
    }
    // An extension that names a class no longer registered, with or
    // without programs to open it.
    const bool goneClass = plant == 0 || rng_.Percent(3);
    ctx_.reg.String(
        L"", goneClass ? L"Gone" + CamelName(rng_, 1) + L".Document." + std::to_wstring(i) : rng_.Pick(progIds_));
    ctx_.reg.String(L"Content Type", L"application/x-" + ext.substr(1));
    if (rng_.Percent(50)) ctx_.reg.String(L"PerceivedType", rng_.Percent(50) ? L"document" : L"image");
    if (plant == 0) {
      Expect(_FileType, ext, false);
    } else {
      Key(ext + L"\\OpenWithProgids");
      ctx_.reg.None(rng_.Pick(progIds_));
    }
    if (plant == 3) {
      Key(ext + L"\\DefaultIcon");
      ctx_.reg.String(L"", ctx_.catalog.GoneFile(ctx_.catalog.Installed(rng_), rng_, L".ico"));
      Expect(_ACTIVEX, ext + L"\\DefaultIcon", true);
      Expect(_FileType, ext + L"\\DefaultIcon", true);
    }
    if (rng_.Percent(15)) {
      Key(ext + L"\\ShellNew");
      ctx_.reg.String(L"NullFile", L"");
    }
    if (rng_.Percent(50)) {
      Key(mime);
      ctx_.reg.String(L"Extension", ext);
    }
    extensions_.push_back(ext);
  }
}

void FileTypeWriter::Applications(std::size_t count) {
  // Kinds: the program is gone, an empty registration.
  PlantSchedule plants(15, 2);
  std::unordered_set<std::wstring> names;
  for (std::size_t i = 0; i < count; ++i) {
    const int plant = plants.Next();
    const Product& p = plant == 0 ? ctx_.catalog.Removed(rng_) : ctx_.catalog.Installed(rng_);
    const std::wstring exeName = p.exe.substr(p.exe.rfind(L'\\') + 1);
    if (!names.insert(exeName).second) continue;
    const std::wstring key = L"Applications\\" + exeName;
    Key(key);
    if (plant == 1) {
      Expect(_APP, key, true);
      continue;
    }
    if (rng_.Percent(20)) ctx_.reg.String(L"FriendlyAppName", L"@" + p.exe + L",-100");
    Key(key + L"\\shell\\open\\command");
    ctx_.reg.String(L"", OpenCommand(p.exe));
    if (plant == 0) {
      Expect(_APP, key + L"\\shell\\open\\command", true);
      Expect(_ACTIVEX, key + L"\\shell\\open\\command", true);
    }
    if (rng_.Percent(30) && !extensions_.empty()) {
      Key(key + L"\\SupportedTypes");
      std::unordered_set<std::wstring> types;
      for (int t = rng_.Between(1, 4); t > 0; --t) {
        const std::wstring& type = rng_.Pick(extensions_);
        if (types.insert(type).second) ctx_.reg.String(type, L"");
      }
    }
  }
}

void FileTypeWriter::UserExtensionLists(const UserProfile& profile, std::size_t count) {
  // Kind: lists that name no program at all.
  PlantSchedule plants(12, 1);
  std::unordered_set<std::wstring> seen;
  for (std::size_t i = 0; i < count && !extensions_.empty(); ++i) {
    const std::wstring& ext = rng_.Pick(extensions_);
    if (!seen.insert(ext).second) continue;
    const int plant = plants.Next();
    const std::wstring key = kFileExts + ext;
    ctx_.reg.Key(profile.hive + key + L"\\OpenWithList");
    if (plant < 0) {
      ctx_.reg.String(L"a", ctx_.catalog.Installed(rng_).key + L".exe");
      ctx_.reg.String(L"MRUList", L"a");
    }
    ctx_.reg.Key(profile.hive + key + L"\\OpenWithProgids");
    if (plant < 0) ctx_.reg.None(rng_.Pick(progIds_));
    if (plant == 0) {
      ctx_.truth.Expect(_FileType, profile.truthRoot + key, L"", true);
    } else if (rng_.Percent(30)) {
      ctx_.reg.Key(profile.hive + key + L"\\UserChoice");
      ctx_.reg.String(L"ProgId", rng_.Pick(progIds_));
      ctx_.reg.String(L"Hash", CamelName(rng_, 3) + L"=");
    }
  }
}

}  // namespace

void WriteFileTypes(MachineContext& ctx, SplitMix rng, const ComClasses& classes) {
  FileTypeWriter writer(ctx, rng);
  writer.ProgIds(ctx.Scaled(9000, 30), classes);
  writer.Extensions(ctx.Scaled(4000, 30));
  writer.Applications(ctx.Scaled(600, 20));
  writer.UserExtensionLists(ctx.layout.user, ctx.Scaled(1200, 15));
  if (ctx.layout.other) writer.UserExtensionLists(*ctx.layout.other, ctx.Scaled(600, 15));
}

}  // namespace kelvara::bench
