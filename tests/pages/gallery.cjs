// Screenshots for people: build/gallery/<page>_<locale>.png, each page's fullest state at
// 500 x 354 with text at 110%, and a contact sheet per page (<page>_sheet.png).
const [fs, path, h] = ['fs', 'path', './harness.cjs'].map(require);

(async () => {
    const out = path.join(h.repo, 'build/gallery'), files = h.carriedFiles(), contract = h.readContract();
    fs.mkdirSync(out, { recursive: true });
    const [server, browser] = [await h.serve(files), await h.launch()];
    for (const name of h.PAGES) {
        const shots = [];
        for (const locale of h.localesOf(files, name)) {
            const p = await h.openPage(browser, server.base + name + '.html', locale);
            // The contract's banners are names only; the page's own banner shows instead.
            await p.page.evaluate((contract[name] || { calls: [] }).calls.filter((c) => !c.startsWith('addBanner')).join(';'));
            await p.page.addStyleTag({ content: h.LARGER_TEXT });
            // The fullest state is the one whose main content reaches lowest.
            const depths = [];
            for (const state of [''].concat(h.STATES[name] || [])) {
                depths.push([await p.page.evaluate(`${state}; Math.max(...[...document.querySelectorAll('#main *')]
                    .map((e) => e.getBoundingClientRect().bottom))`), state]);
            }
            await p.page.evaluate(depths.sort((a, b) => b[0] - a[0])[0][1]);
            shots.push([locale, (await p.page.screenshot({ path: path.join(out, `${name}_${locale}.png`) })).toString('base64')]);
            await p.close();
        }
        const sheet = await browser.newPage({ viewport: { width: 1560, height: 400 } });
        await sheet.setContent(`<body style="margin:8px;font:13px sans-serif;background:#ddd">${shots.map(([l, png]) =>
            `<figure style="display:inline-block;margin:4px"><img src="data:image/png;base64,${png}"><figcaption>${name} ${l}</figcaption></figure>`).join('')}</body>`);
        await sheet.screenshot({ path: path.join(out, `${name}_sheet.png`), fullPage: true });
        await sheet.close();
        console.log(`${name}: ${shots.length} locales`);
    }
    await browser.close();
    server.close();
})().catch((e) => { console.error(e); process.exit(1); });
