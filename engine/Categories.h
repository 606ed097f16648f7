// The cleaning categories as one table (Categories.def), read by every layer
// that deals with them: the settings record and store (flag, character in
// "Content", default), the Content page (check box, which the build puts in
// the page's resource), the clean run (folder, cleaner, log text) and the help
// page, which the build writes from the rows.
// A new category is a row there and its cleaner.
#pragma once

enum class Category {
#define CATEGORY(id, ...) id,
#include "engine/Categories.def"
#undef CATEGORY
};

// Where a category's folder comes from.
enum class FolderSource {
    TempPath,    // the temporary-files path
    ShellFolder, // a value of the user's Shell Folders key
    UserFolders, // the user's folder list: always available
    None,        // no folder: always available
};

// A row's box column: (control id, x, y, width, height).
#define CATEGORY_BOX_ID(id, x, y, width, height) id

struct CategoryRow {
    Category id;
    const char* name;
    const char* logText;
    int byDefault;
    int content; // character in "Content"
    int box;     // its check box's control id on the Content page
    FolderSource folder;
    const char* shellValue; // for FolderSource::ShellFolder
};

constexpr CategoryRow kCategories[] = {
#define CATEGORY(id, name, log, on, content, field, box, folder, value, ...)                                 \
    {Category::id, name, log, on, content, CATEGORY_BOX_ID box, FolderSource::folder, value},
#include "engine/Categories.def"
#undef CATEGORY
};

constexpr int kCategoryCount = static_cast<int>(sizeof(kCategories) / sizeof(kCategories[0]));

constexpr int Index(Category c)
{
    return static_cast<int>(c);
}

constexpr const CategoryRow& Row(Category c)
{
    return kCategories[Index(c)];
}

namespace CategoryChecks {
// Every row at its enumerator's place, and the "Content" characters one per
// row, each in range.
constexpr bool RowsInOrder()
{
    for (int i = 0; i < kCategoryCount; ++i)
        if (Index(kCategories[i].id) != i)
            return false;
    return true;
}
constexpr bool ContentIsAPermutation()
{
    for (int i = 0; i < kCategoryCount; ++i) {
        if (kCategories[i].content < 0 || kCategories[i].content >= kCategoryCount)
            return false;
        for (int j = 0; j < i; ++j)
            if (kCategories[j].content == kCategories[i].content)
                return false;
    }
    return true;
}
constexpr bool BoxesAreDistinct()
{
    for (int i = 0; i < kCategoryCount; ++i)
        for (int j = 0; j < i; ++j)
            if (kCategories[j].box == kCategories[i].box)
                return false;
    return true;
}
} // namespace CategoryChecks
static_assert(CategoryChecks::RowsInOrder(), "rows in the order of the Category enumerators");
static_assert(CategoryChecks::ContentIsAPermutation(), "each category has its own character in \"Content\"");
static_assert(CategoryChecks::BoxesAreDistinct(), "each category has its own check box");
