// A person enters the opening position: a supplier bill priced from the supplier's latest
// purchase price and a consignment bill costed from the stock, both dated the day before the start
// period, saved and audited by their server components; the audited supplier bill is locked.
import { test, after, before } from 'node:test';
import assert from 'node:assert/strict';
import {
  person, newBill, typeHead, typeCell, clickTool, cellText, head, idle, messageBox, answer, number,
  assertClose,
} from './lib/harness.mjs';

const TEMP_GJ = 1020004;
const TEMP_CONSIGN = 1030004;

let admin;
before(async () => {
  admin = await person('admin');
});
after(async () => {
  await admin.close();
});

async function saveAndAudit(page, prefix) {
  await clickTool(page, 'mnuEditFileSave');
  await idle(page);
  assert.match(await head(page, 'FBillNo').inputValue(), new RegExp(`^${prefix}\\d+`));
  await clickTool(page, 'mnuEditCheck');
  await page.locator('.titlebar .stamp', { hasText: '已审核' }).waitFor();
  await idle(page);
}

test('an opening supplier bill is entered, refused inside the start period, saved and audited', async () => {
  const { page, errors } = admin;
  await newBill(page, TEMP_GJ);
  assert.equal(await head(page, 'FDate').inputValue(), '2026-10-31');
  await typeHead(page, 'FSupplyID', 'S003');
  await typeCell(page, 'FItemID', 1, 'I003');
  await typeCell(page, 'FShowQty', 1, '2');
  assertClose(number(await cellText(page, 'FPrice', 1)), 98, 'the supplier\'s latest price');

  await typeHead(page, 'FDate', '2026-11-02');
  await clickTool(page, 'mnuEditFileSave');
  assert.equal((await messageBox(page)).text, '只能录入启用期间以前的单据');
  await answer(page, '确定');
  await typeHead(page, 'FDate', '2026-10-31');

  await saveAndAudit(page, 'QCGH');
  assert.ok(await head(page, 'FSupplyID').evaluate((e) => e.readOnly), 'the audited bill is locked');
  assert.equal(await page.locator('.toolbar button[data-tool="mnuEditCheck"]').isVisible(), false,
    'an audited bill is not audited again');
  assert.equal(await page.locator('.toolbar button[data-tool="mnuEditUnCheck"]').isVisible(), true);
  assert.deepEqual(errors, []);
  assert.equal(await page.locator('aside.errors').isHidden(), true, 'no failure was journaled');
});

test('an opening consignment bill is entered with its cost, saved and audited', async () => {
  const { page, errors } = admin;
  await newBill(page, TEMP_CONSIGN);
  assert.equal(await head(page, 'FDate').inputValue(), '2026-10-31');
  await typeHead(page, 'FCustID', 'C002');
  await typeCell(page, 'FItemID', 1, 'I001');
  await typeCell(page, 'FSCStockID', 1, 'CK01');
  await typeCell(page, 'FShowQty', 1, '3');
  assertClose(number(await cellText(page, 'FPrice', 1)), 11, 'the customer\'s level price');
  assertClose(number(await cellText(page, 'FCostPrice', 1)), 7.5, 'the cost in the stock');

  await saveAndAudit(page, 'QCWT');
  assert.ok(await head(page, 'FCustID').evaluate((e) => e.readOnly), 'the audited bill is locked');
  assert.deepEqual(errors, []);
  assert.equal(await page.locator('aside.errors').isHidden(), true, 'no failure was journaled');
});
