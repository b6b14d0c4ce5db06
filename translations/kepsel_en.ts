<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
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
        <source>%1 条已添加标签 #%2</source>
        <translation>%1 posts tagged #%2</translation>
    </message>
    <message>
        <source>已加入合集「%1」</source>
        <translation>Added to the board “%1”</translation>
    </message>
    <message>
        <source>%1 条已加入合集「%2」</source>
        <translation>%1 posts added to the board “%2”</translation>
    </message>
    <message>
        <source>已归档</source>
        <translation>Archived</translation>
    </message>
    <message>
        <source>已归档 %1 条</source>
        <translation>%1 posts archived</translation>
    </message>
    <message>
        <source>解锁隐私空间</source>
        <translation>unlock the private space</translation>
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
</context>
<context>
    <name>MediaBackup</name>
    <message>
        <source>无法访问备份文件夹</source>
        <translation>Cannot access the backup folder</translation>
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
    <name>UndoBar</name>
    <message>
        <source>撤销</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>已删除 1 条收藏</source>
        <translation>Deleted 1 post</translation>
    </message>
    <message>
        <source>已删除 %1 条收藏</source>
        <translation>Deleted %1 posts</translation>
    </message>
</context>
</TS>
