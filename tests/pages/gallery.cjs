// Screenshots for people: each page in each locale in its fullest state at
// 500 x 354 with text at 110%, into build/gallery/<page>_<locale>.png, and a
// contact sheet per page (<page>_sheet.png).
const fs = require('fs');
const path = require('path');
const h = require('./harness.cjs');

(async () => {
    const out = path.join(h.repo, 'build/gallery');
    fs.mkdirSync(out, { recursive: true });
    const files = h.carriedFiles();
    const contract = h.readContract();
    const server = await h.serve(files);
    const browser = await h.launch();
    for (const name of h.PAGES) {
        const shots = [];
        for (const locale of h.localesOf(files, name)) {
            const p = await h.openPage(browser, server.base + name + '.html', locale);
            // The contract's banners are names only; the page's own banner shows instead.
            await p.page.evaluate((contract[name] || { calls: [] }).calls.filter((c) => !c.startsWith('addBanner')).join(';'));
            await p.page.addStyleTag({ content: h.LARGER_TEXT });
            // The fullest state: the one whose main content reaches lowest.
            const depth = (state) => p.page.evaluate(`${state}; [...document.querySelectorAll('#main *')]
                .reduce((d, e) => Math.max(d, e.getBoundingClientRect().bottom), 0)`);
            let fullest = '', most = await depth('');
            for (const state of h.STATES[name] || []) {
                const d = await depth(state);
                if (d > most) [fullest, most] = [state, d];
            }
            await p.page.evaluate(fullest);
            const file = path.join(out, `${name}_${locale}.png`);
            await p.page.screenshot({ path: file });
            shots.push([locale, fs.readFileSync(file).toString('base64')]);
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
