<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>AccountsSheet</name>
    <message>
        <source>管理账号</source>
        <translation>Manage Accounts</translation>
    </message>
    <message>
        <source>显示名称</source>
        <translation>Display Name</translation>
    </message>
    <message>
        <source>账号</source>
        <translation>Accounts</translation>
    </message>
    <message>
        <source>添加小号</source>
        <translation>Add Accounts</translation>
    </message>
    <message>
        <source>搜索作者</source>
        <translation>Search authors</translation>
    </message>
    <message>
        <source>小号的收藏会算到这个人名下，关联了这个人的合集也会收进小号的收藏。</source>
        <translation>Posts from added accounts count toward this person, and boards linked to this person also collect the added accounts&apos; posts.</translation>
    </message>
    <message>
        <source>完成</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>主号</source>
        <translation>Main</translation>
    </message>
    <message>
        <source>设为主号</source>
        <translation>Make Main Account</translation>
    </message>
    <message>
        <source>移出</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>收藏里没有其他作者</source>
        <translation>No other authors in your library</translation>
    </message>
    <message>
        <source>没有匹配的作者</source>
        <translation>No matching authors</translation>
    </message>
    <message numerus="yes">
        <source>%n 个账号</source>
        <translation>
            <numerusform>%n account</numerusform>
            <numerusform>%n accounts</numerusform>
        </translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>已添加「%1」</source>
        <translation>Added “%1”</translation>
    </message>
</context>
<context>
    <name>AddLinkSheet</name>
    <message>
        <source>收藏</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>收藏链接</source>
        <translation>Save Link</translation>
    </message>
    <message>
        <source>粘贴链接或 App 里复制的分享文字，Kepsel 会自动找出里面的链接。</source>
        <translation>Paste a link, or a share text copied from an app. Kepsel finds the link in it.</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>AuthorHeader</name>
    <message>
        <source>管理账号…</source>
        <translation>Manage Accounts…</translation>
    </message>
    <message>
        <source>添加小号…</source>
        <translation>Add Account…</translation>
    </message>
    <message>
        <source>全部</source>
        <translation>All</translation>
    </message>
    <message>
        <source>并入「%1」</source>
        <translation>Join “%1”</translation>
    </message>
    <message>
        <source>合并 %1·%2</source>
        <translation>Merge %1·%2</translation>
    </message>
    <message>
        <source>看起来是同一个人在另一个平台的账号</source>
        <translation>Looks like the same person&apos;s account on another platform</translation>
    </message>
    <message>
        <source>已合并</source>
        <translation>Merged</translation>
    </message>
    <message numerus="yes">
        <source>%n 条收藏 · </source>
        <translation>
            <numerusform>%n saved · </numerusform>
            <numerusform>%n saved · </numerusform>
        </translation>
    </message>
</context>
<context>
    <name>AuthorRow</name>
    <message>
        <source>· 发布于 %1</source>
        <translation>· posted %1</translation>
    </message>
    <message>
        <source>· 收藏于 %1</source>
        <translation>· saved %1</translation>
    </message>
</context>
<context>
    <name>AuthorsPage</name>
    <message>
        <source>调整顺序…</source>
        <translation>Reorder…</translation>
    </message>
    <message>
        <source>全部作者 · 按收藏数</source>
        <translation>All Authors · by Saves</translation>
    </message>
    <message>
        <source>其他作者 · 按收藏数</source>
        <translation>Other Authors · by Saves</translation>
    </message>
    <message>
        <source>收藏里还没有作者</source>
        <translation>No authors in your library yet</translation>
    </message>
    <message>
        <source>没有匹配的作者</source>
        <translation>No matching authors</translation>
    </message>
    <message>
        <source>全部 %1</source>
        <translation>All %1</translation>
    </message>
    <message>
        <source>取消星标</source>
        <translation>Remove Star</translation>
    </message>
    <message>
        <source>设为星标博主</source>
        <translation>Star Author</translation>
    </message>
    <message numerus="yes">
        <source>%n 条</source>
        <translation>
            <numerusform>%n post</numerusform>
            <numerusform>%n posts</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Backup</name>
    <message>
        <source>偏好设置</source>
        <translation>Preferences</translation>
    </message>
</context>
<context>
    <name>BackupError</name>
    <message>
        <source>这个备份来自更新版本的 Kepsel，请先更新 App</source>
        <translation>This backup comes from a newer version of Kepsel. Please update the app first.</translation>
    </message>
    <message>
        <source>备份文件无法读取，可能已经损坏</source>
        <translation>The backup file cannot be read; it may be damaged</translation>
    </message>
    <message>
        <source>收藏里有备份文件存不下的内容，无法写入备份</source>
        <translation>The library holds a value the backup file cannot store, so the backup was not written</translation>
    </message>
    <message>
        <source>收藏“%1”里有备份文件存不下的内容，无法写入备份</source>
        <translation>The saved post “%1” holds a value the backup file cannot store, so the backup was not written</translation>
    </message>
</context>
<context>
    <name>BackupFolder</name>
    <message>
        <source>还没有选择备份文件夹</source>
        <translation>No backup folder has been chosen yet</translation>
    </message>
    <message>
        <source>无法访问备份文件夹，请在设置里重新选择</source>
        <translation>Cannot access the backup folder. Please choose it again in Settings.</translation>
    </message>
</context>
<context>
    <name>CollectionMenu</name>
    <message>
        <source>重命名…</source>
        <translation>Rename…</translation>
    </message>
    <message>
        <source>删除…</source>
        <translation>Delete…</translation>
    </message>
    <message>
        <source>颜色</source>
        <translation>Color</translation>
    </message>
</context>
<context>
    <name>ContentView</name>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>好</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>删除「%1」？</source>
        <translation>Delete “%1”?</translation>
    </message>
    <message>
        <source>里面的收藏不会被删除。</source>
        <translation>The posts in it will not be deleted.</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
</context>
<context>
    <name>DockIcon</name>
    <message>
        <source>一粒光</source>
        <translation>Glow</translation>
    </message>
    <message>
        <source>拾进篮子</source>
        <translation>Basket</translation>
    </message>
</context>
<context>
    <name>DropHighlight</name>
    <message>
        <source>松手收藏这个链接</source>
        <translation>Drop to save this link</translation>
    </message>
</context>
<context>
    <name>FileError</name>
    <message>
        <source>这是一个链接，不是文件</source>
        <translation>it is a link, not a file</translation>
    </message>
    <message>
        <source>另一个程序正在使用它</source>
        <translation>another program is using it</translation>
    </message>
    <message>
        <source>无法读取“%1”：%2</source>
        <translation>Cannot read “%1”: %2</translation>
    </message>
    <message>
        <source>无法写入“%1”：%2</source>
        <translation>Cannot write “%1”: %2</translation>
    </message>
    <message>
        <source>无法锁定“%1”：%2</source>
        <translation>Cannot lock “%1”: %2</translation>
    </message>
    <message>
        <source>无法移动“%1”：%2</source>
        <translation>Cannot move “%1”: %2</translation>
    </message>
    <message>
        <source>无法新建文件夹“%1”：%2</source>
        <translation>Cannot create the folder “%1”: %2</translation>
    </message>
    <message>
        <source>磁盘已满</source>
        <translation>the disk is full</translation>
    </message>
    <message>
        <source>磁盘是只读的</source>
        <translation>the disk is read-only</translation>
    </message>
    <message>
        <source>没有权限</source>
        <translation>permission denied</translation>
    </message>
    <message>
        <source>找不到这个文件或文件夹</source>
        <translation>no such file or folder</translation>
    </message>
    <message>
        <source>路径里有一项不是文件夹</source>
        <translation>part of the path is not a folder</translation>
    </message>
    <message>
        <source>这是一个文件夹</source>
        <translation>it is a folder</translation>
    </message>
    <message>
        <source>已有同名的文件</source>
        <translation>an item with this name already exists</translation>
    </message>
    <message>
        <source>名称太长</source>
        <translation>the name is too long</translation>
    </message>
    <message>
        <source>打开的文件太多</source>
        <translation>too many files are open</translation>
    </message>
    <message>
        <source>读写磁盘时出错</source>
        <translation>the disk could not be read or written</translation>
    </message>
    <message>
        <source>原因不明</source>
        <translation>unknown cause</translation>
    </message>
    <message>
        <source>系统错误 %1</source>
        <translation>system error %1</translation>
    </message>
</context>
<context>
    <name>FilePanels</name>
    <message>
        <source>导出到这里</source>
        <translation>Export Here</translation>
    </message>
</context>
<context>
    <name>GeneralSettings</name>
    <message>
        <source>跟随系统</source>
        <translation>System</translation>
    </message>
    <message>
        <source>浅色</source>
        <translation>Light</translation>
    </message>
    <message>
        <source>深色</source>
        <translation>Dark</translation>
    </message>
    <message>
        <source>外观</source>
        <translation>Appearance</translation>
    </message>
    <message>
        <source>下载视频文件（关闭后只存封面，播放时在线加载）</source>
        <translation>Download videos (when off, keep covers only and stream on play)</translation>
    </message>
    <message>
        <source>允许重复收藏同一个链接</source>
        <translation>Allow saving the same link more than once</translation>
    </message>
    <message>
        <source>语言</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>重新打开 Kepsel 后切换语言</source>
        <translation>The language changes when Kepsel is reopened</translation>
    </message>
    <message>
        <source>立即重新打开</source>
        <translation>Reopen Now</translation>
    </message>
    <message>
        <source>稍后</source>
        <translation>Later</translation>
    </message>
    <message>
        <source>无法重新打开 Kepsel：%1</source>
        <translation>Cannot reopen Kepsel: %1</translation>
    </message>
    <message>
        <source>App 图标</source>
        <translation>App Icon</translation>
    </message>
    <message>
        <source>登录时自动打开</source>
        <translation>Open at login</translation>
    </message>
    <message>
        <source>托盘</source>
        <translation>Tray</translation>
    </message>
    <message>
        <source>在托盘显示 Kepsel</source>
        <translation>Show Kepsel in the tray</translation>
    </message>
    <message>
        <source>关闭窗口后只留在托盘（不占任务栏）</source>
        <translation>Keep only the tray icon after closing the window (no taskbar entry)</translation>
    </message>
    <message>
        <source>点一下托盘的篮子图标，就把剪贴板里的链接收藏进来；右键（或按住 Ctrl 点）打开菜单。关掉窗口后 Kepsel 在后台继续运行和同步。</source>
        <translation>Click the basket in the tray to save the link on the clipboard; right-click (or Ctrl-click) to open the menu. After the window closes, Kepsel keeps running and syncing in the background.</translation>
    </message>
</context>
<context>
    <name>InfoPane</name>
    <message>
        <source>写点什么…</source>
        <translation>Write something…</translation>
    </message>
    <message>
        <source>笔记</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>解析失败</source>
        <translation>Parsing failed</translation>
    </message>
    <message>
        <source>重新解析</source>
        <translation>Parse Again</translation>
    </message>
</context>
<context>
    <name>JSONError</name>
    <message>
        <source>无法读取平台返回的内容</source>
        <translation>The platform&apos;s answer could not be read</translation>
    </message>
</context>
<context>
    <name>KepselMacApp</name>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
</context>
<context>
    <name>LibraryHeader</name>
    <message>
        <source>全部</source>
        <translation>All</translation>
    </message>
</context>
<context>
    <name>LibraryView</name>
    <message>
        <source>收藏剪贴板里的链接</source>
        <translation>Save Link from Clipboard</translation>
    </message>
    <message>
        <source>收藏剪贴板里的链接（Shift+Ctrl+V）</source>
        <translation>Save Link from Clipboard (Shift+Ctrl+V)</translation>
    </message>
    <message>
        <source>收藏链接</source>
        <translation>Save Link</translation>
    </message>
    <message>
        <source>收藏链接（Ctrl+N）</source>
        <translation>Save Link (Ctrl+N)</translation>
    </message>
    <message>
        <source>显示</source>
        <translation>View</translation>
    </message>
    <message>
        <source>排序</source>
        <translation>Sort</translation>
    </message>
    <message>
        <source>卡片大小</source>
        <translation>Card Size</translation>
    </message>
    <message>
        <source>小</source>
        <translation>Small</translation>
    </message>
    <message>
        <source>中</source>
        <translation>Medium</translation>
    </message>
    <message>
        <source>大</source>
        <translation>Large</translation>
    </message>
    <message>
        <source>搜索标题、正文、笔记、作者、标签</source>
        <translation>Search titles, text, notes, authors, tags</translation>
    </message>
    <message>
        <source>没有匹配的收藏</source>
        <translation>No Matching Posts</translation>
    </message>
    <message>
        <source>这里还没有收藏</source>
        <translation>Nothing Saved Here Yet</translation>
    </message>
    <message>
        <source>按 Ctrl+N 收藏链接，或复制链接后按 Shift+Ctrl+V</source>
        <translation>Press Ctrl+N to save a link, or copy a link and press Shift+Ctrl+V</translation>
    </message>
    <message numerus="yes">
        <source>%n 条</source>
        <translation>
            <numerusform>%n post</numerusform>
            <numerusform>%n posts</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>LivePhotoView</name>
    <message>
        <source>鼠标移到照片上播放</source>
        <translation>Hover over the photo to play it</translation>
    </message>
    <message>
        <source>关闭实况声音</source>
        <translation>Turn off Live Photo sound</translation>
    </message>
    <message>
        <source>打开实况声音</source>
        <translation>Turn on Live Photo sound</translation>
    </message>
</context>
<context>
    <name>MacModel</name>
    <message>
        <source>同步失败：%1</source>
        <translation>Sync failed: %1</translation>
    </message>
    <message>
        <source>新增 %1</source>
        <translation>%1 added</translation>
    </message>
    <message>
        <source>更新 %1</source>
        <translation>%1 updated</translation>
    </message>
    <message>
        <source>删除 %1</source>
        <translation>%1 deleted</translation>
    </message>
    <message>
        <source>已从 iPhone 同步：</source>
        <translation>Synced from iPhone: </translation>
    </message>
    <message>
        <source>，</source>
        <comment>list separator</comment>
        <translation>, </translation>
    </message>
    <message>
        <source>已同步，没有新的变化</source>
        <translation>Synced, nothing new</translation>
    </message>
    <message>
        <source>已收藏，正在解析…</source>
        <translation>Saved, reading the post…</translation>
    </message>
    <message>
        <source>已经收藏过了</source>
        <translation>Already saved</translation>
    </message>
    <message>
        <source>剪贴板里没有链接</source>
        <translation>No link on the clipboard</translation>
    </message>
    <message>
        <source>已添加标签 #%1</source>
        <translation>Tagged #%1</translation>
    </message>
    <message>
        <source>已加入合集「%1」</source>
        <translation>Added to the board “%1”</translation>
    </message>
    <message>
        <source>已归档</source>
        <translation>Archived</translation>
    </message>
    <message>
        <source>解锁隐私空间</source>
        <translation>Unlock the private space</translation>
    </message>
    <message>
        <source>已移到隐私空间</source>
        <translation>Moved to the private space</translation>
    </message>
    <message>
        <source>已移出隐私空间</source>
        <translation>Moved out of the private space</translation>
    </message>
    <message>
        <source>已移到隐私空间，并从 Telegram 频道删除</source>
        <translation>Moved to the private space and deleted from the Telegram channel</translation>
    </message>
    <message>
        <source>已移到隐私空间，但 Telegram 删除失败：%1</source>
        <translation>Moved to the private space, but deleting from Telegram failed: %1</translation>
    </message>
    <message>
        <source>正在同步到 Telegram…</source>
        <translation>Sending to Telegram…</translation>
    </message>
    <message>
        <source>已同步到 Telegram</source>
        <translation>Sent to Telegram</translation>
    </message>
    <message>
        <source>正在同步中，稍等一下</source>
        <translation>Already sending, one moment</translation>
    </message>
    <message>
        <source>登录密码不对，隐私空间没有解锁</source>
        <translation>Wrong login password; the private space stays locked</translation>
    </message>
    <message numerus="yes">
        <source>%n 条已添加标签 #%1</source>
        <translation>
            <numerusform>%n post tagged #%1</numerusform>
            <numerusform>%n posts tagged #%1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 条已加入合集「%1」</source>
        <translation>
            <numerusform>%n post added to the board “%1”</numerusform>
            <numerusform>%n posts added to the board “%1”</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>已归档 %n 条</source>
        <translation>
            <numerusform>%n post archived</numerusform>
            <numerusform>%n posts archived</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MacSettingsView</name>
    <message>
        <source>同步</source>
        <translation>Sync</translation>
    </message>
    <message>
        <source>通用</source>
        <translation>General</translation>
    </message>
    <message>
        <source>插件</source>
        <translation>Plug-ins</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Kepsel</source>
        <translation>Kepsel</translation>
    </message>
    <message>
        <source>设置…</source>
        <translation>Settings…</translation>
    </message>
    <message>
        <source>退出 Kepsel</source>
        <translation>Quit Kepsel</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>File</translation>
    </message>
    <message>
        <source>收藏链接…</source>
        <translation>Save Link…</translation>
    </message>
    <message>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>从剪贴板收藏链接</source>
        <translation>Save Link from Clipboard</translation>
    </message>
    <message>
        <source>同步</source>
        <translation>Sync</translation>
    </message>
    <message>
        <source>立即同步</source>
        <translation>Sync Now</translation>
    </message>
</context>
<context>
    <name>MediaBackup</name>
    <message>
        <source>无法访问备份文件夹</source>
        <translation>Cannot access the backup folder</translation>
    </message>
</context>
<context>
    <name>MenuBarController</name>
    <message>
        <source>Kepsel：点一下收藏剪贴板里的链接，右键打开菜单</source>
        <translation>Kepsel: click to save the link on the clipboard, right-click for the menu</translation>
    </message>
    <message>
        <source>已收藏，正在解析…</source>
        <translation>Saved, reading the post…</translation>
    </message>
    <message>
        <source>已经收藏过了</source>
        <translation>Already saved</translation>
    </message>
    <message>
        <source>收藏失败</source>
        <translation>Could not save</translation>
    </message>
    <message>
        <source>收藏剪贴板里的链接（%1）</source>
        <translation>Save the Link on the Clipboard (%1)</translation>
    </message>
    <message>
        <source>剪贴板里没有新链接</source>
        <translation>No New Link on the Clipboard</translation>
    </message>
    <message>
        <source>收藏链接…</source>
        <translation>Save Link…</translation>
    </message>
    <message>
        <source>打开 Kepsel</source>
        <translation>Open Kepsel</translation>
    </message>
    <message>
        <source>立即同步</source>
        <translation>Sync Now</translation>
    </message>
    <message>
        <source>设置…</source>
        <translation>Settings…</translation>
    </message>
    <message>
        <source>退出 Kepsel</source>
        <translation>Quit Kepsel</translation>
    </message>
    <message numerus="yes">
        <source>正在解析 %n 条收藏</source>
        <translation>
            <numerusform>Reading %n post</numerusform>
            <numerusform>Reading %n posts</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MenuBarSettings</name>
    <message>
        <source>无法删除登录项：%1</source>
        <translation>Cannot remove the login item: %1</translation>
    </message>
    <message>
        <source>无法写入登录项：%1</source>
        <translation>Cannot write the login item: %1</translation>
    </message>
</context>
<context>
    <name>NameDialog</name>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>Naming</name>
    <message>
        <source>重命名</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>新建标签</source>
        <translation>New Tag</translation>
    </message>
    <message>
        <source>新建合集</source>
        <translation>New Board</translation>
    </message>
</context>
<context>
    <name>NavigationStack</name>
    <message>
        <source>返回</source>
        <translation>Back</translation>
    </message>
</context>
<context>
    <name>NetworkError</name>
    <message>
        <source>只能打开 http 或 https 链接</source>
        <translation>Only http and https links can be opened</translation>
    </message>
    <message>
        <source>网络请求超时，请稍后再试</source>
        <translation>The request timed out. Please try again later.</translation>
    </message>
    <message>
        <source>无法连接到服务器，请检查网络后再试</source>
        <translation>Cannot reach the server. Check your network and try again.</translation>
    </message>
    <message>
        <source>无法建立安全连接，服务器证书无效</source>
        <translation>Cannot make a secure connection: the server&apos;s certificate is not valid.</translation>
    </message>
    <message>
        <source>链接重定向次数过多</source>
        <translation>The link redirected too many times.</translation>
    </message>
    <message>
        <source>服务器返回的内容过大</source>
        <translation>The server&apos;s answer is too large.</translation>
    </message>
    <message>
        <source>网络请求失败，请稍后再试</source>
        <translation>The request failed. Please try again later.</translation>
    </message>
    <message>
        <source>请求已取消</source>
        <translation>The request was cancelled</translation>
    </message>
    <message>
        <source>服务器返回的内容无法读取</source>
        <translation>The server sent content that cannot be read</translation>
    </message>
    <message>
        <source>无法保存下载的内容</source>
        <translation>Cannot save the downloaded content</translation>
    </message>
</context>
<context>
    <name>NewBoardTile</name>
    <message>
        <source>新建合集</source>
        <translation>New Board</translation>
    </message>
</context>
<context>
    <name>OrganizeRow</name>
    <message>
        <source>标签</source>
        <translation>Tags</translation>
    </message>
    <message>
        <source>合集</source>
        <translation>Boards</translation>
    </message>
    <message>
        <source>新建标签…</source>
        <translation>New Tag…</translation>
    </message>
    <message>
        <source>没有可加入的合集</source>
        <translation>No boards to add to</translation>
    </message>
    <message>
        <source>新建标签</source>
        <translation>New Tag</translation>
    </message>
    <message>
        <source>标签名</source>
        <translation>Tag name</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
</context>
<context>
    <name>OrganizeView</name>
    <message>
        <source>合集</source>
        <translation>Boards</translation>
    </message>
    <message>
        <source>标签</source>
        <translation>Tags</translation>
    </message>
    <message>
        <source>作者</source>
        <translation>Authors</translation>
    </message>
    <message>
        <source>新建标签</source>
        <translation>New Tag</translation>
    </message>
    <message>
        <source>还没有标签。在卡片的右键菜单里加标签，或者把卡片拖到这里的标签上。</source>
        <translation>No tags yet. Add tags from a card’s context menu, or drag cards onto a tag here.</translation>
    </message>
    <message>
        <source>搜索%1</source>
        <translation>Search %1</translation>
    </message>
    <message>
        <source>、</source>
        <comment>list separator</comment>
        <translation>, </translation>
    </message>
    <message>
        <source>整理</source>
        <translation>Organize</translation>
    </message>
</context>
<context>
    <name>PamPasswordCheck</name>
    <message>
        <source>无法验证密码：%1</source>
        <translation>Cannot check the password: %1</translation>
    </message>
</context>
<context>
    <name>ParseError</name>
    <message>
        <source>请求失败（HTTP %1）</source>
        <translation>Request failed (HTTP %1)</translation>
    </message>
    <message>
        <source>页面结构变化，解析失败：%1</source>
        <translation>The page&apos;s structure has changed; parsing failed: %1</translation>
    </message>
    <message>
        <source>%1 拒绝了这次访问，请从 %1 App 里重新复制分享链接再试</source>
        <translation>%1 refused this request. Copy the share link again from the %1 app and retry.</translation>
    </message>
    <message>
        <source>内容中未发现有效链接</source>
        <translation>No valid link found in the text</translation>
    </message>
    <message>
        <source>暂不支持该链接</source>
        <translation>This link is not supported yet</translation>
    </message>
</context>
<context>
    <name>PasswordPrompt</name>
    <message>
        <source>解锁隐私空间</source>
        <translation>Unlock Private Space</translation>
    </message>
    <message>
        <source>输入你的登录密码。</source>
        <translation>Enter your login password.</translation>
    </message>
    <message>
        <source>密码</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>解锁</source>
        <translation>Unlock</translation>
    </message>
</context>
<context>
    <name>Platform</name>
    <message>
        <source>小红书</source>
        <translation>Xiaohongshu</translation>
    </message>
    <message>
        <source>抖音</source>
        <translation>Douyin</translation>
    </message>
    <message>
        <source>微博</source>
        <translation>Weibo</translation>
    </message>
    <message>
        <source>哔哩哔哩</source>
        <translation>Bilibili</translation>
    </message>
    <message>
        <source>公众号</source>
        <translation>WeChat Articles</translation>
    </message>
    <message>
        <source>网易云音乐</source>
        <translation>NetEase Cloud Music</translation>
    </message>
    <message>
        <source>网页</source>
        <translation>Web</translation>
    </message>
    <message>
        <source>笔记</source>
        <translation>Note</translation>
    </message>
</context>
<context>
    <name>PlayerControls</name>
    <message>
        <source>暂停</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>播放</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>退出全屏</source>
        <translation>Exit Full Screen</translation>
    </message>
    <message>
        <source>全屏</source>
        <translation>Full Screen</translation>
    </message>
</context>
<context>
    <name>PlayerView</name>
    <message>
        <source>无法播放这个文件</source>
        <translation>This file cannot be played</translation>
    </message>
</context>
<context>
    <name>PluginsSettings</name>
    <message>
        <source>插件是可选功能，不装也不影响收藏、整理和同步。点开已安装的插件可以设置或卸载；卸载后设置会保留，重新安装就能接着用。</source>
        <translation>Plug-ins are optional: saving, organizing and syncing work without them. Open an installed plug-in to set it up or uninstall it; its settings are kept, so reinstalling picks up where you left off.</translation>
    </message>
    <message>
        <source>安装</source>
        <translation>Install</translation>
    </message>
</context>
<context>
    <name>PostCard</name>
    <message>
        <source>有笔记</source>
        <translation>Has a note</translation>
    </message>
</context>
<context>
    <name>PostDetailView</name>
    <message>
        <source>这条收藏已删除</source>
        <translation>This post has been deleted</translation>
    </message>
    <message>
        <source>打开原文</source>
        <translation>Open Original</translation>
    </message>
    <message>
        <source>在浏览器里打开原文</source>
        <translation>Open the original in the browser</translation>
    </message>
    <message>
        <source>更多</source>
        <translation>More</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>取消归档</source>
        <translation>Unarchive</translation>
    </message>
    <message>
        <source>归档</source>
        <translation>Archive</translation>
    </message>
    <message>
        <source>取消归档（Ctrl+E）</source>
        <translation>Unarchive (Ctrl+E)</translation>
    </message>
    <message>
        <source>归档（Ctrl+E）</source>
        <translation>Archive (Ctrl+E)</translation>
    </message>
    <message>
        <source>MPEG-4 影片 (*.mp4)</source>
        <translation>MPEG-4 movie (*.mp4)</translation>
    </message>
    <message>
        <source>MP3 音频 (*.mp3)</source>
        <translation>MP3 audio (*.mp3)</translation>
    </message>
    <message>
        <source>JPEG 图像 (*.jpg *.jpeg)</source>
        <translation>JPEG image (*.jpg *.jpeg)</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>保存当前图片…</source>
        <translation>Save Current Picture…</translation>
    </message>
    <message>
        <source>导出全部图片和视频…</source>
        <translation>Export All Pictures and Videos…</translation>
    </message>
    <message>
        <source>还没有下载完成</source>
        <translation>Not downloaded yet</translation>
    </message>
    <message>
        <source>已保存</source>
        <translation>Saved</translation>
    </message>
    <message numerus="yes">
        <source>已导出 %n 个文件</source>
        <translation>
            <numerusform>Exported %n file</numerusform>
            <numerusform>Exported %n files</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>已导出 %n 个文件，没有程序能打开 %1</source>
        <translation>
            <numerusform>Exported %n file; no program could open %1</numerusform>
            <numerusform>Exported %n files; no program could open %1</numerusform>
        </translation>
    </message>
    <message>
        <source>没有程序能打开 %1</source>
        <translation>No program could open %1</translation>
    </message>
    <message>
        <source>删除（Ctrl+Backspace），几秒内可以撤销</source>
        <translation>Delete (Ctrl+Backspace); you can undo it for a few seconds</translation>
    </message>
</context>
<context>
    <name>PostMenu</name>
    <message>
        <source>标签</source>
        <translation>Tags</translation>
    </message>
    <message>
        <source>合集</source>
        <translation>Boards</translation>
    </message>
    <message>
        <source>移出隐私空间</source>
        <translation>Move out of Private Space</translation>
    </message>
    <message>
        <source>移到隐私空间</source>
        <translation>Move to Private Space</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>打开原文</source>
        <translation>Open Original</translation>
    </message>
    <message>
        <source>复制链接</source>
        <translation>Copy Link</translation>
    </message>
    <message>
        <source>已复制链接</source>
        <translation>Link copied</translation>
    </message>
    <message>
        <source>重新解析</source>
        <translation>Parse Again</translation>
    </message>
    <message>
        <source>取消归档</source>
        <translation>Unarchive</translation>
    </message>
    <message>
        <source>归档</source>
        <translation>Archive</translation>
    </message>
    <message>
        <source>已归档</source>
        <translation>Archived</translation>
    </message>
    <message>
        <source>已取消归档</source>
        <translation>Unarchived</translation>
    </message>
    <message>
        <source>重新同步到 Telegram</source>
        <translation>Send to Telegram Again</translation>
    </message>
    <message>
        <source>同步到 Telegram</source>
        <translation>Send to Telegram</translation>
    </message>
</context>
<context>
    <name>PrivateLockView</name>
    <message>
        <source>解锁</source>
        <translation>Unlock</translation>
    </message>
    <message>
        <source>隐私空间已锁定</source>
        <translation>The private space is locked</translation>
    </message>
    <message>
        <source>用登录密码解锁。离开 Kepsel 时会自动锁上。</source>
        <translation>Unlock with your login password. It locks again when you leave Kepsel.</translation>
    </message>
</context>
<context>
    <name>RefusedReply</name>
    <message>
        <source>Only http and https links are fetched</source>
        <translation>Only http and https links are fetched</translation>
    </message>
</context>
<context>
    <name>RelativeTime</name>
    <message>
        <source>刚刚</source>
        <translation>just now</translation>
    </message>
    <message numerus="yes">
        <source>%n 分钟前</source>
        <translation>
            <numerusform>%n minute ago</numerusform>
            <numerusform>%n minutes ago</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 小时前</source>
        <translation>
            <numerusform>%n hour ago</numerusform>
            <numerusform>%n hours ago</numerusform>
        </translation>
    </message>
    <message>
        <source>昨天</source>
        <translation>yesterday</translation>
    </message>
    <message numerus="yes">
        <source>%n 天前</source>
        <translation>
            <numerusform>%n day ago</numerusform>
            <numerusform>%n days ago</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 周前</source>
        <translation>
            <numerusform>%n week ago</numerusform>
            <numerusform>%n weeks ago</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 个月前</source>
        <translation>
            <numerusform>%n month ago</numerusform>
            <numerusform>%n months ago</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 年前</source>
        <translation>
            <numerusform>%n year ago</numerusform>
            <numerusform>%n years ago</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Sidebar</name>
    <message>
        <source>收藏</source>
        <translation>Library</translation>
    </message>
    <message>
        <source>整理</source>
        <translation>Organize</translation>
    </message>
    <message>
        <source>已归档</source>
        <translation>Archived</translation>
    </message>
    <message>
        <source>隐私空间</source>
        <translation>Private Space</translation>
    </message>
    <message>
        <source>合集</source>
        <translation>Boards</translation>
    </message>
    <message>
        <source>新建合集</source>
        <translation>New Board</translation>
    </message>
</context>
<context>
    <name>SidebarItem</name>
    <message>
        <source>全部收藏</source>
        <translation>All Posts</translation>
    </message>
    <message>
        <source>整理</source>
        <translation>Organize</translation>
    </message>
    <message>
        <source>已归档</source>
        <translation>Archived</translation>
    </message>
    <message>
        <source>隐私空间</source>
        <translation>Private Space</translation>
    </message>
</context>
<context>
    <name>SortOrder</name>
    <message>
        <source>按发布时间</source>
        <translation>By Date Published</translation>
    </message>
    <message>
        <source>按收藏时间</source>
        <translation>By Date Saved</translation>
    </message>
</context>
<context>
    <name>StarAuthorButton</name>
    <message>
        <source>取消星标博主「%1」</source>
        <translation>Unstar “%1”</translation>
    </message>
    <message>
        <source>设为星标博主「%1」</source>
        <translation>Star “%1”</translation>
    </message>
    <message>
        <source>已取消星标「%1」</source>
        <translation>Removed the star from “%1”</translation>
    </message>
    <message>
        <source>已设为星标博主「%1」</source>
        <translation>Starred “%1”</translation>
    </message>
    <message>
        <source>取消星标博主</source>
        <translation>Unstar Author</translation>
    </message>
    <message>
        <source>设为星标博主，在收藏页顶部显示</source>
        <translation>Star this author to show them at the top of the library</translation>
    </message>
</context>
<context>
    <name>StarredOrderSheet</name>
    <message>
        <source>调整顺序</source>
        <translation>Reorder</translation>
    </message>
    <message>
        <source>拖动调整顺序，iPhone 上的顺序也会跟着变。</source>
        <translation>Drag to reorder; the order on your iPhone follows.</translation>
    </message>
    <message>
        <source>完成</source>
        <translation>Done</translation>
    </message>
</context>
<context>
    <name>StarredStrip</name>
    <message>
        <source>取消星标</source>
        <translation>Remove Star</translation>
    </message>
    <message>
        <source>星标博主</source>
        <translation>Starred Authors</translation>
    </message>
</context>
<context>
    <name>StillImage</name>
    <message>
        <source>正在下载…</source>
        <translation>Downloading…</translation>
    </message>
</context>
<context>
    <name>StoreError</name>
    <message>
        <source>收藏库所在的磁盘已满</source>
        <translation>The disk that holds the library is full</translation>
    </message>
    <message>
        <source>收藏库是只读的，无法保存</source>
        <translation>The library is read-only and cannot be saved</translation>
    </message>
    <message>
        <source>收藏库正被另一个程序使用</source>
        <translation>Another program is using the library</translation>
    </message>
    <message>
        <source>收藏库文件已损坏</source>
        <translation>The library file is damaged</translation>
    </message>
    <message>
        <source>读写收藏库时磁盘出错</source>
        <translation>The disk failed while reading or writing the library</translation>
    </message>
    <message>
        <source>无法打开收藏库文件</source>
        <translation>The library file cannot be opened</translation>
    </message>
    <message>
        <source>无法读取或保存收藏库</source>
        <translation>The library cannot be read or saved</translation>
    </message>
    <message>
        <source>收藏库“%1”是只读的，无法保存</source>
        <translation>The library “%1” is read-only and cannot be saved</translation>
    </message>
    <message>
        <source>收藏库“%1”已经在另一个程序里打开</source>
        <translation>The library “%1” is already open in another program</translation>
    </message>
    <message>
        <source>无法锁定收藏库“%1”：%2</source>
        <translation>Cannot lock the library “%1”: %2</translation>
    </message>
    <message>
        <source>无法写入收藏库的文件夹“%1”：%2</source>
        <translation>Cannot write in the library’s folder “%1”: %2</translation>
    </message>
    <message>
        <source>收藏库“%1”来自更新版本的 Kepsel，请先更新 App</source>
        <translation>The library “%1” comes from a newer version of Kepsel. Please update the app first.</translation>
    </message>
</context>
<context>
    <name>SyncSettings</name>
    <message>
        <source>现在</source>
        <translation>now</translation>
    </message>
    <message numerus="yes">
        <source>%n 分钟前</source>
        <translation>
            <numerusform>%n minute ago</numerusform>
            <numerusform>%n minutes ago</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 小时前</source>
        <translation>
            <numerusform>%n hour ago</numerusform>
            <numerusform>%n hours ago</numerusform>
        </translation>
    </message>
    <message>
        <source>昨天</source>
        <translation>yesterday</translation>
    </message>
    <message numerus="yes">
        <source>%n 天前</source>
        <translation>
            <numerusform>%n day ago</numerusform>
            <numerusform>%n days ago</numerusform>
        </translation>
    </message>
    <message>
        <source>位置</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>选择其他文件夹…</source>
        <translation>Choose Another Folder…</translation>
    </message>
    <message>
        <source>自动同步（打开、切走 Kepsel 时，以及每分钟一次）</source>
        <translation>Sync automatically (when Kepsel opens or loses focus, and every minute)</translation>
    </message>
    <message>
        <source>立即同步</source>
        <translation>Sync Now</translation>
    </message>
    <message>
        <source>上次同步</source>
        <translation>Last sync</translation>
    </message>
    <message>
        <source>同时备份图片和视频到「媒体」文件夹</source>
        <translation>Also back up images and videos to the “媒体” folder</translation>
    </message>
    <message>
        <source>使用这个文件夹</source>
        <translation>Use This Folder</translation>
    </message>
    <message>
        <source>还没有</source>
        <translation>Not yet</translation>
    </message>
    <message>
        <source>正在备份媒体</source>
        <translation>Backing up media</translation>
    </message>
    <message>
        <source>媒体备份出错</source>
        <translation>Media backup failed</translation>
    </message>
    <message>
        <source>%1/%2</source>
        <translation>%1/%2</translation>
    </message>
    <message>
        <source>通过同步文件夹同步</source>
        <translation>Sync through a shared folder</translation>
    </message>
    <message>
        <source>这台电脑上没有找到云盘文件夹。点「选择其他文件夹…」，选一个和 iPhone 共用的同步文件夹。</source>
        <translation>No cloud drive folder was found on this computer. Click “Choose Another Folder…” and pick a sync folder you share with your iPhone.</translation>
    </message>
    <message>
        <source>和使用同一个文件夹的 iPhone 双向同步新收藏、笔记、标签、合集、归档和删除；图片和视频优先从这个文件夹里取，没有的按原文链接重新下载。</source>
        <translation>New saves, notes, tags, boards, archiving and deletions sync both ways with an iPhone that uses the same folder; images and videos come from this folder first, and the rest is downloaded again from the original links.</translation>
    </message>
</context>
<context>
    <name>SyncStatus</name>
    <message>
        <source>正在同步…</source>
        <translation>Syncing…</translation>
    </message>
    <message>
        <source>等待同步</source>
        <translation>Waiting to sync</translation>
    </message>
    <message>
        <source>已同步 · </source>
        <translation>Synced · </translation>
    </message>
    <message>
        <source>立即同步（Shift+Ctrl+R）</source>
        <translation>Sync Now (Shift+Ctrl+R)</translation>
    </message>
    <message>
        <source>设置文件夹同步</source>
        <translation>Set Up Folder Sync</translation>
    </message>
</context>
<context>
    <name>TagPalette</name>
    <message>
        <source>陶土</source>
        <translation>Clay</translation>
    </message>
    <message>
        <source>红</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>黄</source>
        <translation>Yellow</translation>
    </message>
    <message>
        <source>绿</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>青</source>
        <translation>Teal</translation>
    </message>
    <message>
        <source>蓝</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>紫</source>
        <translation>Purple</translation>
    </message>
    <message>
        <source>粉</source>
        <translation>Pink</translation>
    </message>
    <message>
        <source>灰</source>
        <translation>Grey</translation>
    </message>
</context>
<context>
    <name>Telegram</name>
    <message>
        <source>隐私空间的收藏不同步到 Telegram</source>
        <translation>Posts in the private space are not sent to Telegram</translation>
    </message>
    <message>
        <source>还没有配置频道</source>
        <translation>No channel has been set up yet</translation>
    </message>
    <message>
        <source>视频超过 50MB，见原文</source>
        <translation>The video is over 50 MB; see the original</translation>
    </message>
    <message>
        <source>原文</source>
        <translation>Original</translation>
    </message>
    <message>
        <source>Telegram 频道同步</source>
        <translation>Telegram Channel Sync</translation>
    </message>
    <message>
        <source>把新收藏自动发到你自己的 Telegram 频道，在 Kepsel 里删除时频道里也一起删除。需要自己创建 Bot 和频道。</source>
        <translation>Sends new posts to your own Telegram channel automatically, and deletes them there when you delete them in Kepsel. You create the bot and the channel yourself.</translation>
    </message>
    <message>
        <source>Bot Token 格式不对</source>
        <translation>The bot token is not in the right format</translation>
    </message>
    <message>
        <source>getMe 返回异常</source>
        <translation>getMe returned an unexpected answer</translation>
    </message>
    <message>
        <source>Bot 不是这个频道的管理员，或者没有发消息权限</source>
        <translation>The bot is not an administrator of this channel, or may not post messages</translation>
    </message>
    <message>
        <source>Bot Token 不正确</source>
        <translation>The bot token is wrong</translation>
    </message>
    <message>
        <source>找不到这个频道：检查频道名，并确认 Bot 已加入频道</source>
        <translation>Channel not found: check its name and make sure the bot has joined it</translation>
    </message>
    <message>
        <source>Bot 没有在频道发消息的权限</source>
        <translation>The bot may not post messages in the channel</translation>
    </message>
    <message>
        <source>频道里的消息超过 48 小时，Bot 删不掉，请在频道里手动删除</source>
        <translation>Messages older than 48 hours cannot be deleted by the bot; please delete them in the channel yourself</translation>
    </message>
    <message>
        <source>Telegram：%1</source>
        <translation>Telegram: %1</translation>
    </message>
</context>
<context>
    <name>TelegramSettings</name>
    <message>
        <source>同步到 Telegram 频道</source>
        <translation>Sync to a Telegram channel</translation>
    </message>
    <message>
        <source>删除收藏时同时删除频道里的消息</source>
        <translation>Delete the channel&apos;s messages when posts are deleted</translation>
    </message>
    <message>
        <source>卸载插件…</source>
        <translation>Uninstall Plug-in…</translation>
    </message>
    <message>
        <source>@channel 或 -100…</source>
        <translation>@channel or -100…</translation>
    </message>
    <message>
        <source>Bot Token</source>
        <translation>Bot Token</translation>
    </message>
    <message>
        <source>频道</source>
        <translation>Channel</translation>
    </message>
    <message>
        <source>卸载「%1」？</source>
        <translation>Uninstall “%1”?</translation>
    </message>
    <message>
        <source>新收藏不再同步到频道，删除收藏时也不会再删频道里的消息。已经发到频道的消息会保留，Bot 和频道设置也会保留。</source>
        <translation>New saves are no longer sent to the channel, and deleting posts no longer deletes channel messages. Messages already in the channel stay, and so do the bot and channel settings.</translation>
    </message>
    <message>
        <source>卸载</source>
        <translation>Uninstall</translation>
    </message>
    <message>
        <source>在这台电脑上新收藏的内容自动发到频道</source>
        <translation>Send new saves on this computer to the channel automatically</translation>
    </message>
    <message>
        <source>从 iPhone 同步过来的收藏不会在这台电脑上再发一次。设置过同步文件夹后，会自动沿用 iPhone 上的配置。</source>
        <translation>Posts synced from the iPhone are not sent again from this computer. Once a sync folder is set, the iPhone&apos;s configuration is used automatically.</translation>
    </message>
</context>
<context>
    <name>UndoBar</name>
    <message>
        <source>撤销</source>
        <translation>Undo</translation>
    </message>
    <message numerus="yes">
        <source>已删除 %n 条收藏</source>
        <translation>
            <numerusform>Deleted %n post</numerusform>
            <numerusform>Deleted %n posts</numerusform>
        </translation>
    </message>
</context>
</TS>
