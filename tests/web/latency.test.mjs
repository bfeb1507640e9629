// Measured, not asserted (the benchmarks under bench/ are the figures that count): on sales
// bills of many rows (1,000 unless ZOV_LATENCY_ROWS names others, "1000,10000"), the time to
// open the stored bill from its list, from the key press that commits a quantity to the row's
// recalculated amount on screen (95th percentile), and the longest frame while the grid scrolls
// from the first row to the last.
import { test, after, before } from 'node:test';
import {
  person, newBill, typeHead, clickTool, head, idle, openList, pasteRows, showRow, cell, sql,
} from './lib/harness.mjs';

const SIZES = (process.env.ZOV_LATENCY_ROWS || '1000').split(',').map(Number);
const ROUNDS = 40;
let admin;
before(async () => {
  admin = await person('admin');
});
after(async () => {
  await admin.close();
});

// A stored sales bill of `rows` rows: ten typed in and saved, the others copies of them made in
// the database, each with an entry ID of its own (lEntryID repeats it, as a saved row's does).
async function storedBill(page, rows) {
  await newBill(page);
  await typeHead(page, 'FCustID', 'C001');
  await page.locator('.entry-wrap td[data-key="FItemID"][data-row="1"]').click();
  await pasteRows(page, Array.from({ length: 10 }, (_, i) => [['I001', 'I015', 'I014'][i % 3]]));
  await clickTool(page, 'mnuEditFileSave');
  await idle(page);
  const billNo = await head(page, 'FBillNo').inputValue();
  const [{ rows: [[id]] }] = sql(`SELECT FID FROM t_CC_StockBill WHERE FBillNo='${billNo}'`);
  const [{ columns }] = sql('SELECT * FROM t_CC_StockBillEntry WHERE 1=0');
  for (let have = 10; have < rows;) {
    const more = Math.min(have, rows - have);
    const [{ rows: [[top]] }] = sql('SELECT MAX(FEntryID) FROM t_CC_StockBillEntry');
    const names = columns.map((c) => c.name ?? c);
    const values = names.map((n) => (n === 'FEntryID' || n === 'lEntryID' ? `FEntryID + ${top}`
      : n === 'FIndex' ? `FIndex + ${have}` : n));
    sql(`INSERT INTO t_CC_StockBillEntry (${names.join(',')}) SELECT TOP ${more} ${values.join(',')} FROM t_CC_StockBillEntry WHERE FID=${id} ORDER BY FIndex`);
    have += more;
  }
  return billNo;
}

const percentile = (times, p) => [...times].sort((a, b) => a - b)[Math.ceil(times.length * p) - 1];

for (const rows of SIZES) {
  test(`a ${rows}-row bill: open, edit round trip, scroll`, { timeout: 1800000 }, async () => {
    const { page } = admin;
    const billNo = await storedBill(page, rows);
    await openList(page);
    const started = Date.now();
    await page.locator(`table.bills tbody tr[data-bill-no="${billNo}"]`).dblclick();
    await page.waitForSelector('.window.bill .entry-wrap tr[data-row="1"] td[data-key="FItemID"]:not(:empty)', { timeout: 120000 });
    await idle(page, 120000);
    const open = Date.now() - started;

    const row = Math.floor(rows / 2);
    await showRow(page, row);
    const times = [];
    for (let i = 0; i < ROUNDS; ++i) {
      await cell(page, 'FShowQty', row).click();
      await idle(page);
      const before = await cell(page, 'FAmount', row).textContent();
      await page.keyboard.type(String(2 + (i % 7)));
      // Timed in the page: from the Enter key down to the amount cell showing a new value.
      await page.evaluate(({ row, before }) => {
        window.measured = new Promise((resolve) => {
          let start = 0;
          document.addEventListener('keydown', (e) => {
            if (e.key === 'Enter') start = performance.now();
          }, { capture: true, once: true });
          const td = () => document.querySelector(`.entry-wrap td[data-key="FAmount"][data-row="${row}"]`);
          const observer = new MutationObserver(() => {
            if (start && td() && td().textContent !== before && !td().classList.contains('pending')) {
              observer.disconnect();
              resolve(performance.now() - start);
            }
          });
          observer.observe(document.querySelector('.entry-wrap tbody'), { subtree: true, childList: true, characterData: true });
        });
      }, { row, before });
      await page.keyboard.press('Enter');
      times.push(await page.evaluate(() => window.measured));
      await idle(page);
    }

    // Scrolling from the first row to the last, a screen per frame: the longest frame.
    await showRow(page, 1);
    const scroll = await page.evaluate(() => new Promise((resolve) => {
      const wrap = document.querySelector('.entry-wrap[data-grid="1"]');
      wrap.scrollTop = 0;
      const frames = [];
      let last = performance.now();
      const begun = last;
      const tick = (now) => {
        frames.push(now - last);
        last = now;
        if (wrap.scrollTop + wrap.clientHeight >= wrap.scrollHeight - 1) {
          const sorted = frames.slice(1).sort((a, b) => a - b);
          resolve({ frames: frames.length, longest: sorted[sorted.length - 1], median: sorted[Math.floor(sorted.length / 2)], total: now - begun });
          return;
        }
        wrap.scrollTop += wrap.clientHeight;
        requestAnimationFrame(tick);
      };
      requestAnimationFrame(tick);
    }));
    await page.locator(`.entry-wrap tr[data-row="${rows}"]`).waitFor();

    console.log(`${rows} rows: open ${open} ms; Enter to amount p95 ${percentile(times, 0.95).toFixed(1)} ms, `
      + `median ${percentile(times, 0.5).toFixed(1)} ms (${ROUNDS} edits); scroll to the last row in `
      + `${scroll.frames} frames, longest ${scroll.longest.toFixed(1)} ms, median ${scroll.median.toFixed(1)} ms`);
  });
}
